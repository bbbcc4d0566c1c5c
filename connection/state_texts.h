#pragma once
// The texts with which the main window follows the transfer control's states.

#include <QString>

namespace corvexo {

// String number of the caption shown for a progress state (1-3, 5-10; 4 is "Connected."),
// 0 for states that show no caption of their own (11, 12, unknown).
int stateCaptionNumber(int state);

// True for the caption of a state that a running command shows (1 to 8).
bool isProgressCaption(const QString &caption);

// Status text once logged in; it names the setting's user even when that is empty.
QString loggedInStatusText(const QString &userName);

// Message box text for the error state: string 165, CR LF, the reply code, a blank, the reply text
// (its first lines only, when it is long). A refused login (530) says so in the user's language
// before the server's text; a local failure (code 0) shows no code.
QString connectionErrorMessage(int responseCode, const QString &responseInfo);

} // namespace corvexo
