#pragma once
// The charset of a server's names. UTF-8 comes first; servers that keep names
// in Shift_JIS (CP932) or EUC-JP are recognised by their names. Bytes that do
// not decode (or would not encode back to the same bytes) become characters
// of a private range, U+F780 to U+F7FF, one per byte, and turn back into that
// byte when a command is encoded: a name travels back to the server exactly as
// it was listed.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace corvexo::ftp {

class FtpCharset {
public:
    enum class Kind { Utf8, ShiftJis, EucJp };

    FtpCharset() = default;
    explicit FtpCharset(Kind kind) : kind_(kind) {}

    Kind kind() const { return kind_; }
    QString decode(QByteArrayView bytes) const;
    QByteArray encode(QStringView text) const;

    // The charset of one listing, from a sample of its names beyond ASCII and
    // whether all of its names are well-formed UTF-8: a name that is not is
    // evidence of a legacy charset, which then wins a tie.
    static Kind ofListing(const QList<QByteArrayView> &sample, bool allUtf8);

private:
    Kind kind_ = Kind::Utf8;
};

// Whether bytes are well-formed UTF-8.
bool isValidUtf8(QByteArrayView bytes);

} // namespace corvexo::ftp
