#include "state_texts.h"

#include "app/strings/string_table.h"
#include "connection/transfer_control.h"

namespace corvexo {

int stateCaptionNumber(int state)
{
    switch (state) {
    case 1: return 154;
    case 2: return 155;
    case 3: return 156;
    case 4: return 157;
    case 5: return 158;
    case 6: return 159;
    case 7: return 160;
    case 8: return 161;
    case 9: return 162;
    case 10: return 163;
    default: return 0;
    }
}

bool isProgressCaption(const QString &caption)
{
    for (int state = TransferState::Resolving; state <= TransferState::ResponseReceived; ++state)
        if (caption == text(stateCaptionNumber(state))) return true;
    return false;
}

QString loggedInStatusText(const QString &userName)
{
    return QStringLiteral("User name: ") + userName + QStringLiteral(", Password successful");
}

namespace {

// A server's text can run to thousands of lines; the box shows its start, so
// that it fits the screen and its button stays within reach.
QString fitForBox(const QString &info)
{
    constexpr qsizetype maxLines = 15;
    constexpr qsizetype maxLineLength = 300;
    const QStringList lines = info.split(QStringLiteral("\r\n"));
    QStringList shown;
    bool cut = lines.size() > maxLines;
    for (const QString &line : lines.mid(0, maxLines)) {
        cut = cut || line.size() > maxLineLength;
        shown.append(line.left(maxLineLength));
    }
    if (cut) shown.append(QStringLiteral("..."));
    return shown.join(QStringLiteral("\r\n"));
}

} // namespace

QString connectionErrorMessage(int responseCode, const QString &responseInfo)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString message = text(165) + lineEnd;
    if (responseCode == 530)
        message += (uiLanguage() == UiLanguage::Japanese ? QStringLiteral("ユーザー名またはパスワードが受け付けられませんでした。")
                                                         : QStringLiteral("The user name or password was not accepted."))
                   + lineEnd;
    // A failure of our own side has no reply code to show.
    if (responseCode != 0) message += QString::number(responseCode) + u' ';
    return message + fitForBox(responseInfo);
}

} // namespace corvexo
