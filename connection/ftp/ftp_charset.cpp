#include "ftp_charset.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <optional>

namespace corvexo::ftp {

namespace {

constexpr char16_t EscapeBase = 0xF700;   // + a byte of 0x80 or above

bool isEscape(QChar ch) { return ch.unicode() >= EscapeBase + 0x80 && ch.unicode() <= EscapeBase + 0xFF; }

bool inRange(uchar b, uchar low, uchar high) { return b >= low && b <= high; }

// Length of the well-formed UTF-8 character at bytes[i]; 0 when it is not one.
qsizetype utf8Length(QByteArrayView bytes, qsizetype i)
{
    const uchar b = uchar(bytes[i]);
    if (b < 0x80) return 1;
    auto next = [&](qsizetype k, uchar low = 0x80, uchar high = 0xBF) {
        return i + k < bytes.size() && inRange(uchar(bytes[i + k]), low, high);
    };
    if (inRange(b, 0xC2, 0xDF)) return next(1) ? 2 : 0;
    if (b == 0xE0) return next(1, 0xA0) && next(2) ? 3 : 0;
    if (b == 0xED) return next(1, 0x80, 0x9F) && next(2) ? 3 : 0;
    if (inRange(b, 0xE1, 0xEF)) return next(1) && next(2) ? 3 : 0;
    if (b == 0xF0) return next(1, 0x90) && next(2) && next(3) ? 4 : 0;
    if (b == 0xF4) return next(1, 0x80, 0x8F) && next(2) && next(3) ? 4 : 0;
    if (inRange(b, 0xF1, 0xF3)) return next(1) && next(2) && next(3) ? 4 : 0;
    return 0;
}

// Length of the character at bytes[i] by the charset's byte pattern; 0 when none fits.
qsizetype legacyLength(FtpCharset::Kind kind, QByteArrayView bytes, qsizetype i)
{
    const uchar b = uchar(bytes[i]);
    if (b < 0x80) return 1;
    auto at = [&](qsizetype k) { return i + k < bytes.size() ? uchar(bytes[i + k]) : uchar(0); };
    if (kind == FtpCharset::Kind::ShiftJis) {
        if (inRange(b, 0xA1, 0xDF)) return 1;
        const bool lead = inRange(b, 0x81, 0x9F) || inRange(b, 0xE0, 0xFC);
        return lead && (inRange(at(1), 0x40, 0x7E) || inRange(at(1), 0x80, 0xFC)) ? 2 : 0;
    }
    if (b == 0x8E) return inRange(at(1), 0xA1, 0xDF) ? 2 : 0;
    if (b == 0x8F) return inRange(at(1), 0xA1, 0xFE) && inRange(at(2), 0xA1, 0xFE) ? 3 : 0;
    return inRange(b, 0xA1, 0xFE) && inRange(at(1), 0xA1, 0xFE) ? 2 : 0;
}

const char *codecName(FtpCharset::Kind kind) { return kind == FtpCharset::Kind::ShiftJis ? "CP932" : "EUC-JP"; }

// A fresh converter each time: the error flag of a used one does not reset.
std::optional<QString> decodeExactly(FtpCharset::Kind kind, QByteArrayView bytes)
{
    QStringDecoder decoder(codecName(kind));
    const QString text = decoder.decode(bytes);
    if (!decoder.isValid() || decoder.hasError()) return std::nullopt;
    for (QChar ch : text)   // a control character is a wrong guess of charset, not a name
        if (ch.unicode() < 0x20 || (ch.unicode() >= 0x7F && ch.unicode() <= 0x9F)) return std::nullopt;
    QStringEncoder encoder(codecName(kind));
    const QByteArray back = encoder.encode(text);
    if (encoder.hasError() || back != bytes) return std::nullopt;
    return text;
}

void appendEscaped(QString &text, QByteArrayView bytes)
{
    for (char c : bytes) text += uchar(c) < 0x80 ? QChar(c) : QChar(char16_t(EscapeBase + uchar(c)));
}

} // namespace

bool isValidUtf8(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        if (uchar(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const qsizetype length = utf8Length(bytes, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

QString FtpCharset::decode(QByteArrayView bytes) const
{
    if (kind_ == Kind::Utf8 && isValidUtf8(bytes)) return QString::fromUtf8(bytes);
    if (kind_ != Kind::Utf8) {
        if (const auto whole = decodeExactly(kind_, bytes)) return *whole;
    }
    // Character by character: what reads cleanly and encodes back the same is kept, the rest escaped.
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = kind_ == Kind::Utf8 ? utf8Length(bytes, i) : legacyLength(kind_, bytes, i);
        if (length == 0) {
            appendEscaped(text, bytes.sliced(i, 1));
            ++i;
            continue;
        }
        const QByteArrayView piece = bytes.sliced(i, length);
        if (uchar(piece[0]) < 0x80) text += QChar(piece[0]);
        else if (kind_ == Kind::Utf8) text += QString::fromUtf8(piece);
        else if (const auto one = decodeExactly(kind_, piece)) text += *one;
        else appendEscaped(text, piece);
        i += length;
    }
    return text;
}

QByteArray FtpCharset::encode(QStringView text) const
{
    QByteArray bytes;
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end <= runStart) return;
        const QStringView run = text.sliced(runStart, end - runStart);
        if (kind_ == Kind::Utf8) {
            bytes += run.toUtf8();
        } else {
            QStringEncoder encoder(codecName(kind_));
            bytes += encoder.encode(run);
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isEscape(text[i])) continue;
        flush(i);
        bytes += char(text[i].unicode() - EscapeBase);
        runStart = i + 1;
    }
    flush(text.size());
    return bytes;
}

FtpCharset::Kind FtpCharset::ofListing(const QList<QByteArrayView> &sample, bool allUtf8)
{
    if (allUtf8) return Kind::Utf8;
    int clean[3] = {0, 0, 0};
    for (QByteArrayView name : sample) {
        if (isValidUtf8(name)) ++clean[0];
        if (decodeExactly(Kind::ShiftJis, name)) ++clean[1];
        if (decodeExactly(Kind::EucJp, name)) ++clean[2];
    }
    const Kind legacy = clean[1] >= clean[2] ? Kind::ShiftJis : Kind::EucJp;
    return clean[0] > std::max(clean[1], clean[2]) ? Kind::Utf8 : legacy;
}

} // namespace corvexo::ftp
