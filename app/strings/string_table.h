#pragma once
// Every text the user sees, fetched by number in the language of the user interface.

#include <QString>

namespace corvexo {

enum class UiLanguage { English, Japanese };

// Japanese when the system locale is Japanese, English otherwise; decided once per run.
UiLanguage uiLanguage();

// The text with this number in the user interface's language; empty for an unknown number.
QString text(int number);

// The text in a given language, for tests and for tools.
QString textIn(UiLanguage language, int number);

} // namespace corvexo
