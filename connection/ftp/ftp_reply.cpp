#include "ftp_reply.h"

#include "ftp_messages.h"

namespace corvexo::ftp {

namespace {

// The code of a line that starts with three digits, or -1.
int leadingCode(const QByteArray &line)
{
    if (line.size() < 3) return -1;
    for (int i = 0; i < 3; ++i)
        if (line[i] < '0' || line[i] > '9') return -1;
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

QString lineText(const QByteArray &line, int from)
{
    return QString::fromUtf8(line.mid(from));
}

} // namespace

bool FtpReplyReader::feed(const QByteArray &bytes)
{
    if (failed()) return false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) {
            partial_ += bytes.mid(start);
            if (partial_.size() > MaxLineBytes) return fail(engineText(EngineText::ReplyLineTooLong));
            break;
        }
        QByteArray line = partial_ + bytes.mid(start, end - start);
        partial_.clear();
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (line.size() > MaxLineBytes) return fail(engineText(EngineText::ReplyLineTooLong));
        if (!takeLine(line)) return false;
    }
    return true;
}

bool FtpReplyReader::takeLine(const QByteArray &line)
{
    const int code = leadingCode(line);
    const char separator = line.size() > 3 ? line[3] : ' ';
    if (!inMultiLine_) {
        if (code < 100 || (separator != ' ' && separator != '-'))
            return fail(engineText(EngineText::MalformedReply));
        current_ = FtpReply{code, {lineText(line, 4)}, line.mid(4)};
        currentBytes_ = int(line.size());
        if (separator == ' ') ready_.append(std::exchange(current_, {}));
        else inMultiLine_ = true;
        return true;
    }
    // Inside a multi-line reply only the same code followed by a blank ends it.
    currentBytes_ += int(line.size());
    if (current_.lines.size() >= MaxReplyLines || currentBytes_ > MaxReplyBytes)
        return fail(engineText(EngineText::ReplyTooLong));
    if (code == current_.code && separator == ' ' && line.size() >= 4) {
        current_.lines.append(lineText(line, 4));
        ready_.append(std::exchange(current_, {}));
        inMultiLine_ = false;
    } else {
        current_.lines.append(QString::fromUtf8(line));
    }
    return true;
}

bool FtpReplyReader::fail(const QString &why)
{
    error_ = why;
    partial_.clear();
    return false;
}

} // namespace corvexo::ftp
