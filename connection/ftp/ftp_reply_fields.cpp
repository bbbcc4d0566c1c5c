#include "ftp_reply_fields.h"

#include <QRegularExpression>

namespace corvexo::ftp {

namespace {

std::optional<quint16> validPort(qlonglong value)
{
    if (value <= 0 || value > 65535) return std::nullopt;
    return quint16(value);
}

} // namespace

std::optional<QByteArray> folderOfPwdReply(const FtpReply &reply)
{
    if (reply.code != 257) return std::nullopt;
    const QByteArray &line = reply.firstLineBytes;
    const qsizetype open = line.indexOf('"');
    if (open < 0) return std::nullopt;
    QByteArray path;
    for (qsizetype i = open + 1; i < line.size(); ++i) {
        if (line[i] != '"') {
            path += line[i];
        } else if (i + 1 < line.size() && line[i + 1] == '"') {
            path += '"';
            ++i;
        } else {
            return path;
        }
    }
    return std::nullopt;
}

std::optional<quint16> portOfEpsvReply(const FtpReply &reply)
{
    if (reply.code != 229 || reply.lines.isEmpty()) return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral(R"(\((.)\1\1(\d+)\1\))"));
    const auto match = pattern.match(reply.lines.first());
    if (!match.hasMatch()) return std::nullopt;
    return validPort(match.captured(2).toLongLong());
}

std::optional<quint16> portOfPasvReply(const FtpReply &reply)
{
    if (reply.code != 227 || reply.lines.isEmpty()) return std::nullopt;
    static const QRegularExpression pattern(
        QStringLiteral(R"((\d{1,3}),\s*(\d{1,3}),\s*(\d{1,3}),\s*(\d{1,3}),\s*(\d{1,3}),\s*(\d{1,3}))"));
    const auto match = pattern.match(reply.lines.first());
    if (!match.hasMatch()) return std::nullopt;
    const int high = match.captured(5).toInt(), low = match.captured(6).toInt();
    if (high > 255 || low > 255) return std::nullopt;
    return validPort(high * 256 + low);
}

QSet<QString> featuresOfFeatReply(const FtpReply &reply)
{
    QSet<QString> features;
    if (reply.code != 211) return features;
    // The first and last lines are the reply's own text; features sit between them.
    for (qsizetype i = 1; i + 1 < reply.lines.size(); ++i) {
        const QString line = reply.lines[i].trimmed();
        if (line.isEmpty()) continue;
        features.insert(line.section(u' ', 0, 0).toUpper());
    }
    return features;
}

} // namespace corvexo::ftp
