#pragma once
// Replies on the FTP control connection: one reply is a three-digit code and
// one or more lines of text. The reader cuts the byte stream into replies and
// caps line length and reply size, so a hostile server cannot exhaust memory.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace corvexo::ftp {

struct FtpReply {
    int code = 0;
    QStringList lines;   // the text of each line without its code and separator
    QByteArray firstLineBytes;   // the first line's text as the server sent it, for names in its charset

    bool isPreliminary() const { return code >= 100 && code < 200; }
    bool isPositive() const { return code >= 200 && code < 300; }
    bool isIntermediate() const { return code >= 300 && code < 400; }
    bool isRefusal() const { return code >= 400; }
    // The text for the user: the lines joined by CR LF.
    QString text() const { return lines.join(QStringLiteral("\r\n")); }
};

class FtpReplyReader {
public:
    static constexpr int MaxLineBytes = 8 * 1024;
    static constexpr int MaxReplyLines = 2000;
    static constexpr int MaxReplyBytes = 512 * 1024;

    // Adds received bytes; complete replies can then be taken with takeReply().
    // Returns false once the stream broke the rules (see errorText()); the reader
    // then accepts nothing more.
    bool feed(const QByteArray &bytes);
    bool hasReply() const { return !ready_.isEmpty(); }
    FtpReply takeReply() { return ready_.takeFirst(); }
    bool failed() const { return !error_.isEmpty(); }
    QString errorText() const { return error_; }

private:
    bool takeLine(const QByteArray &line);
    bool fail(const QString &why);

    QByteArray partial_;      // bytes of a line whose end has not come yet
    FtpReply current_;        // a multi-line reply being collected
    bool inMultiLine_ = false;
    int currentBytes_ = 0;
    QList<FtpReply> ready_;
    QString error_;
};

} // namespace corvexo::ftp
