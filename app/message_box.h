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
    bool noIsDefault = false;  // Enter answers No (questions whose Yes loses something)
};

enum class MessageBoxAnswer { Ok, Yes, No };

using MessageBoxAnswerer = std::function<MessageBoxAnswer(const MessageBoxRequest &)>;

inline const QString kApplicationTitle = QStringLiteral("Corvexo");

// Shows an OK box and waits for it to be closed.
void showMessage(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);
// Asks a Yes/No question; returns true on Yes.
bool askYesNo(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);

// Asks a Yes/No question whose default answer is No; returns true on Yes.
bool askYesNoDefaultNo(QWidget *parent, const QString &text, const QString &title = kApplicationTitle);

// Replaces how boxes are answered (tests); an empty answerer restores the real box.
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);

} // namespace corvexo
