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
    QMessageBox box(QMessageBox::NoIcon, request.title, request.text,
                    request.yesNo ? (QMessageBox::Yes | QMessageBox::No) : QMessageBox::Ok, parent);
    if (request.noByDefault) box.setDefaultButton(QMessageBox::No);
    const int result = box.exec();
    if (!request.yesNo) return MessageBoxAnswer::Ok;
    return result == QMessageBox::Yes ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
}

} // namespace

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
