#include "ftp_download_size.h"

#include "app/strings/string_table.h"

#include <QRegularExpression>

namespace corvexo::ftp {

namespace {

std::optional<qint64> sizeOfText(const QString &digits)
{
    bool ok = false;
    const qint64 size = digits.toLongLong(&ok);
    if (!ok || size < 0) return std::nullopt;
    return size;
}

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

} // namespace

std::optional<qint64> sizeOfSizeReply(const FtpReply &reply)
{
    if (reply.code != 213 || reply.lines.size() != 1) return std::nullopt;
    return sizeOfText(reply.lines.first().trimmed());
}

std::optional<qint64> sizeOfMlstReply(const FtpReply &reply)
{
    static const QRegularExpression fact(QStringLiteral("(?:^|;)size=(\\d+);"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (reply.code != 250) return std::nullopt;
    for (const QString &line : reply.lines) {
        // The facts end at the first blank; the name follows.
        const QString facts = line.trimmed().section(u' ', 0, 0);
        const QRegularExpressionMatch match = fact.match(facts);
        if (match.hasMatch()) return sizeOfText(match.captured(1));
    }
    return std::nullopt;
}

std::optional<qint64> sizeOfOpeningReply(const FtpReply &reply)
{
    static const QRegularExpression bytes(QStringLiteral("\\((\\d+) bytes?\\)"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (!reply.isPreliminary()) return std::nullopt;
    const QRegularExpressionMatch match = bytes.match(reply.text());
    if (!match.hasMatch()) return std::nullopt;
    return sizeOfText(match.captured(1));
}

QString shortDownloadText(const QString &remote, qint64 received, qint64 announced)
{
    if (japanese())
        return QStringLiteral("%1 のダウンロードは完全ではありません：サーバーが知らせた %3 バイトのうち %2 バイトを受信しました。ローカルのファイルは変更されていません。")
            .arg(remote).arg(received).arg(announced);
    return QStringLiteral("The download of %1 is not complete: %2 bytes arrived of the %3 bytes the server announced. "
                          "The local file was left as it was.")
        .arg(remote).arg(received).arg(announced);
}

QString localWriteFailedText(const QString &localPath, const QString &reason)
{
    if (japanese())
        return QStringLiteral("ローカルファイル %1 に書き込めませんでした（%2）。ファイルは変更されていません。")
            .arg(localPath, reason);
    return QStringLiteral("Cannot write the local file %1: %2. The file was left as it was.").arg(localPath, reason);
}

} // namespace corvexo::ftp
