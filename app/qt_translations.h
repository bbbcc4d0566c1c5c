#pragma once
// Qt's own texts (the buttons of the message boxes, the standard dialogs) in
// the language of the program's own texts.

#include "strings/string_table.h"

class QCoreApplication;

namespace corvexo {

// Loads and installs Qt's translation for the language from Qt's translations
// folder; false when there is none to install (English, or the file is missing).
// The translator belongs to the application.
bool installQtTranslations(QCoreApplication *application, UiLanguage language);

} // namespace corvexo
