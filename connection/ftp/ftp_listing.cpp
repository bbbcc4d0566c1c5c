#include "ftp_listing.h"

#include "ftp_listing_order.h"

#include <QDateTime>
#include <algorithm>

namespace corvexo::ftp {

bool linkLooksLikeFolder(QByteArrayView target)
{
    while (target.endsWith('/')) target.chop(1);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArrayView last = slash >= 0 ? target.sliced(slash + 1) : target;
    return !last.isEmpty() && last.lastIndexOf('.') <= 0;
}

FtpListing::FtpListing(const FtpListingParser &parser, const FtpCharset &charset, bool atRoot)
    : unreadable_(parser.unreadable())
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
    const QList<qsizetype> order = listingOrder(parsed.size(), nameAt);

    // Room for "../", and for every name a line end and a "/"; cut to what was written.
    text_.resize(3 + (ends.isEmpty() ? parser.nameBytes().size() : decoded.size()) + 3 * parsed.size());
    char *const begin = text_.data();
    char *out = begin;
    if (!atRoot) out = std::copy_n("../", 3, out);
    entries_.reserve(parsed.size());
    for (qsizetype index : order) {
        const OrderedName name = nameAt(index);
        const ParsedEntry &entry = parsed[index];
        if (out != begin) {
            *out++ = '\r';
            *out++ = '\n';
        }
        entries_.append({name.isFolder ? -1 : entry.size, entry.modified, quint32(out - begin),
                         quint16(name.utf8.size()), entry.modifiedIsUtc, name.isFolder});
        out = std::copy_n(name.utf8.data(), name.utf8.size(), out);
        if (name.isFolder) *out++ = '/';
    }
    text_.truncate(out - begin);
}

QList<RemoteEntry> FtpListing::remoteEntries() const
{
    if (kept_) return *kept_;
    QList<RemoteEntry> result;
    result.reserve(entries_.size());
    for (const Entry &entry : entries_) {
        RemoteEntry remote;
        remote.name = QString::fromUtf8(text_.constData() + entry.offset, entry.length);
        remote.isFolder = entry.isFolder;
        remote.size = entry.size;
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
