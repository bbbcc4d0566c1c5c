#pragma once
// Asks for the passphrase of an SSH key file: a masked field, OK and Cancel,
// the application's title. The answer is handed to the session for one login
// and never kept. Tests replace the answerer to read the text and answer.

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace corvexo {

// Nothing when the user cancels (the key is then skipped).
std::optional<QString> askPassphrase(QWidget *parent, const QString &keyPath);
QString passphraseQuestionText(const QString &keyPath);

using PassphraseAnswerer = std::function<std::optional<QString>(const QString &text)>;
// Replaces how the question is answered (tests); an empty answerer restores the real dialog.
void setPassphraseAnswerer(PassphraseAnswerer answerer);

} // namespace corvexo
