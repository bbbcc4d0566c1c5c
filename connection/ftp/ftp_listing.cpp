#include "ftp_listing.h"

#include "ftp_listing_memory.h"
#include "ftp_listing_order.h"

#include <QDateTime>
#include <algorithm>
#include <cstring>

namespace corvexo::ftp {

bool linkLooksLikeFolder(QByteArrayView target)
{
    while (target.endsWith('/')) target.chop(1);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArrayView last = slash >= 0 ? target.sliced(slash + 1) : target;
    return !last.isEmpty() && last.lastIndexOf('.') <= 0;
}

FtpListing::FtpListing(const FtpListingParser &parser, const FtpCharset &charset, bool atRoot)
    : parsed_(parser.entries()), upLine_(!atRoot), unreadable_(parser.unreadable())
{
    const QList<ParsedEntry> &parsed = parser.entries();
    // On a UTF-8 server the names are already what the text needs.
    QByteArray decoded;
    QList<qsizetype> ends;
    if (charset.kind() != FtpCharset::Kind::Utf8 || !isValidUtf8(parser.nameBytes())) {
        ends.resize(parsed.size());
        for (qsizetype i = 0; i < parsed.size(); ++i) {
            decoded += charset.decode(parser.name(parsed[i])).toUtf8();
            ends[i] = decoded.size();
        }
    }
    // Names are read where they lie rather than gathered in a list: a long listing's
    // list would be one more large block of memory to fill.
    const auto nameAt = [&](qsizetype i) {
        const ParsedEntry &entry = parsed[i];
        OrderedName name;
        if (ends.isEmpty()) {
            name.utf8 = parser.name(entry);
        } else {
            const qsizetype start = i ? ends[i - 1] : 0;
            name.utf8 = QByteArrayView(decoded.constData() + start, ends[i] - start);
        }
        name.isFolder = entry.kind == ParsedEntry::Kind::Folder
            || (entry.kind == ParsedEntry::Kind::Link && linkLooksLikeFolder(parser.target(entry)));
        return name;
    };
    order_ = listingOrder(parsed.size(), nameAt);

    // Room for "../", and for every name a line end and a "/"; cut to what was written.
    text_.resize(3 + (ends.isEmpty() ? parser.nameBytes().size() : decoded.size()) + 3 * parsed.size());
    char *const begin = text_.data();
    mapInForWriting(begin, text_.size());
    char *out = begin;
    if (!atRoot) out = std::copy_n("../", 3, out);
    for (qsizetype index : std::as_const(order_)) {
        const OrderedName name = nameAt(index);
        if (out != begin) {
            *out++ = '\r';
            *out++ = '\n';
        }
        out = std::copy_n(name.utf8.data(), name.utf8.size(), out);
        if (name.isFolder) *out++ = '/';
    }
    text_.truncate(out - begin);
}

QList<RemoteEntry> FtpListing::remoteEntries() const
{
    if (kept_) return *kept_;
    QList<RemoteEntry> result;
    result.reserve(order_.size());
    // Names hold no line ends, and a "/" at a line's end marks a folder.
    const char *line = text_.constData();
    const char *const textEnd = line + text_.size();
    if (upLine_) line = std::min(line + 5, textEnd);
    for (qsizetype index : order_) {
        const ParsedEntry &entry = parsed_[index];
        const char *lineEnd = static_cast<const char *>(std::memchr(line, '\r', size_t(textEnd - line)));
        if (!lineEnd) lineEnd = textEnd;
        RemoteEntry remote;
        remote.isFolder = lineEnd > line && lineEnd[-1] == '/';
        remote.name = QString::fromUtf8(line, lineEnd - line - (remote.isFolder ? 1 : 0));
        remote.size = remote.isFolder ? -1 : entry.size;
        remote.isLink = entry.targetLength > 0 || entry.kind == ParsedEntry::Kind::Link;
        line = std::min(lineEnd + 2, textEnd);
        if (entry.modified != ParsedEntry::NoTime) {
            // A LIST time is the server's clock as written, kept at a zero offset so that it
            // is shown as written. Neither is turned into local time here: for a long
            // listing that costs seconds, and only the rows shown need it.
            remote.modified = QDateTime::fromMSecsSinceEpoch(entry.modified, entry.modifiedIsUtc ? Qt::UTC : Qt::OffsetFromUTC);
        }
        result.append(remote);
    }
    return result;
}

} // namespace corvexo::ftp
