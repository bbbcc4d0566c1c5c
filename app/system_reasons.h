#pragma once
// The system's own reasons for a failure ("No space left on device", "Is a
// directory") reach the program in English; a Japanese user reads them as the
// system's own translations give them.

#include <QString>

namespace corvexo {

// The text with every English system reason in it replaced by the system's
// translation into the user's language; unchanged under an English interface.
QString withSystemReasonsInUserLanguage(const QString &text);

} // namespace corvexo
