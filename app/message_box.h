#pragma once
// The one message box of the program: OK, or Yes and No; no icon; the
// application's title unless the caller names another. Tests replace the
// answerer to read what would be shown and to choose the answer.

#include <QString>

#include <functional>

class QWidget;

namespace corvexo {

struct MessageBoxRequest {
    QString text;
    QString title;
    bool yesNo = false;  // Yes and No buttons; otherwise OK only
    bool noByDefault = false;  // No is the default button
};

enum class MessageBoxAnswer { Ok, Yes, No };

using MessageBoxAnswerer = std::function<MessageBoxAnswer(const MessageBoxRequest &)>;

inline const QString kApplicationTitle = QStringLiteral("Corvexo");

// Shows an OK box and waits for it to be closed.
void showMessage(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);
// Asks a Yes/No question; returns true on Yes.
bool askYesNo(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);
// The same with No as the default, for questions where Yes takes a risk.
bool askYesNoDefaultingToNo(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);

// The text as the box shows it: a run of more than maxRun characters without a
// blank (a long file name) gets a zero-width break opportunity every maxRun
// characters, so the box wraps it instead of growing wider than the screen.
QString breakableText(const QString &text, int maxRun = 40);

// Replaces how boxes are answered (tests); an empty answerer restores the real box.
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);

} // namespace corvexo
