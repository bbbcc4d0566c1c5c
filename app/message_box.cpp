#include "message_box.h"
#include "system_reasons.h"

#include <QMessageBox>

namespace corvexo {

namespace {

MessageBoxAnswerer &answerer()
{
    static MessageBoxAnswerer instance;
    return instance;
}

MessageBoxAnswer run(QWidget *parent, MessageBoxRequest request)
{
    request.text = withSystemReasonsInUserLanguage(request.text);
    if (answerer()) return answerer()(request);
    QMessageBox box(QMessageBox::NoIcon, request.title, breakableText(request.text),
                    request.yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    if (request.noByDefault) box.setDefaultButton(QMessageBox::No);
    const int result = box.exec();
    if (!request.yesNo) return MessageBoxAnswer::Ok;
    return result == QMessageBox::Yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

} // namespace

QString breakableText(const QString &text, int maxRun)
{
    QString shown;
    shown.reserve(text.size());
    int run = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        run = c.isSpace() ? 0 : run + 1;
        // Never between the two halves of a character beyond the basic plane.
        if (run > maxRun && !c.isLowSurrogate()) {
            shown += QChar(0x200B);
            run = 1;
        }
        shown += c;
    }
    return shown;
}

void showMessage(QWidget *parent, const QString &text, const QString &title)
{
    run(parent, {text, title, false});
}

bool askYesNo(QWidget *parent, const QString &text, const QString &title)
{
    return run(parent, {text, title, true}) == MessageBoxAnswer::Yes;
}

bool askYesNoDefaultingToNo(QWidget *parent, const QString &text, const QString &title)
{
    return run(parent, {text, title, true, true}) == MessageBoxAnswer::Yes;
}

void setMessageBoxAnswerer(MessageBoxAnswerer newAnswerer)
{
    answerer() = std::move(newAnswerer);
}

} // namespace corvexo
