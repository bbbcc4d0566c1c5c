#pragma once
// The device a listing's data connection writes into: every piece goes
// straight to the parser, so the raw listing is never held whole.

#include "ftp_listing_parser.h"
#include "ftp_messages.h"

#include <QIODevice>
#include <functional>

namespace corvexo::ftp {

class FtpListingSink : public QIODevice {
public:
    FtpListingSink(FtpListingParser *parser, std::function<void()> onParsed, QObject *parent)
        : QIODevice(parent), parser_(parser), onParsed_(std::move(onParsed))
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (!parser_->feed(QByteArrayView(data, size))) {
            setErrorString(engineText(EngineText::ListingTooLong).arg(FtpListingParser::MaxEntries));
            return -1;
        }
        if (onParsed_) onParsed_();
        return size;
    }

private:
    FtpListingParser *parser_;
    std::function<void()> onParsed_;
};

} // namespace corvexo::ftp
