#include "ftp_listing_parser.h"

#include "ftp_charset.h"
#include "ftp_listing_memory.h"
#include "listing/listing_words.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace corvexo::ftp {

namespace {

// A long listing's buffers grow in large steps once past a few megabytes: a
// block that large is mapped memory, which grows by remapping instead of by
// copying everything received so far while the window waits. Pages not
// written to take no memory.
template <typename Buffer>
void makeRoom(Buffer &buffer, qsizetype more)
{
    constexpr qsizetype LargeStepBytes = 64 * 1024 * 1024;
    constexpr qsizetype CopyingLimitBytes = 4 * 1024 * 1024;
    using Item = typename Buffer::value_type;
    const qsizetype wanted = buffer.size() + more;
    if (wanted <= buffer.capacity() || wanted * qsizetype(sizeof(Item)) < CopyingLimitBytes) return;
    buffer.reserve(qMax(2 * wanted, LargeStepBytes / qsizetype(sizeof(Item))));
}

bool isListableName(QByteArrayView name)
{
    if (name.isEmpty() || name.size() > FtpListingParser::MaxNameBytes) return false;
    return !name.contains('/') && !name.contains('\r') && !name.contains('\n') && !name.contains('\0');
}

qint64 nowOr(qint64 now) { return now ? now : QDateTime::currentMSecsSinceEpoch(); }

} // namespace

FtpListingParser::FtpListingParser(ListingFormat format, qint64 now)
    : format_(format),
      dispatcher_(format == ListingFormat::Mlsd,
                  {nowOr(now), QDateTime::fromMSecsSinceEpoch(nowOr(now), Qt::UTC).date().year()})
{
    // Reserved room is only address space until written to, and it spares a long
    // listing the copy (and the pages touched anew) at every doubling of its buffers.
    names_.reserve(ReservedNameBytes);
    entries_.reserve(ReservedEntries);
}

bool FtpListingParser::feed(QByteArrayView bytes)
{
    if (overflowed_) return false;
    while (!bytes.isEmpty()) {
        const char *end = static_cast<const char *>(std::memchr(bytes.data(), '\n', size_t(bytes.size())));
        if (!end) {
            // An unfinished line waits for the rest; a line longer than any entry's is skipped.
            if (!skippingLongLine_) partial_.append(bytes);
            if (partial_.size() > MaxLineBytes) {
                partial_.clear();
                if (!skippingLongLine_) ++unreadable_;
                skippingLongLine_ = true;
            }
            break;
        }
        const QByteArrayView piece = bytes.first(end - bytes.data());
        bytes = bytes.sliced(piece.size() + 1);
        if (skippingLongLine_) {
            skippingLongLine_ = false;
        } else if (partial_.isEmpty()) {
            takeLine(piece);
        } else {
            partial_.append(piece);
            takeLine(partial_);
            partial_.clear();
        }
        if (overflowed_) return false;
    }
    return true;
}

void FtpListingParser::finish()
{
    if (!partial_.isEmpty() && !skippingLongLine_) takeLine(partial_);
    partial_.clear();
    skippingLongLine_ = false;
    if (!vmsName_.isEmpty()) ++unreadable_;
    vmsName_.clear();
}

void FtpListingParser::takeLine(QByteArrayView line)
{
    if (line.endsWith('\r')) line.chop(1);
    if (line.size() > MaxLineBytes) {
        ++unreadable_;
        return;
    }
    if (!vmsName_.isEmpty()) {
        // A long VMS name stands alone on its line, and its fields follow on the next.
        QByteArray joined = std::exchange(vmsName_, {});
        if (!line.isEmpty() && listing::isBlank(line[0])) {
            joined.append(line);
            return parseLine(joined);
        }
        ++unreadable_;
    }
    if (format_ == ListingFormat::List && listing::isVmsNameAlone(line)) {
        vmsName_ = line.toByteArray();
        return;
    }
    parseLine(line);
}

void FtpListingParser::parseLine(QByteArrayView line)
{
    using listing::Outcome;
    listing::LineRead read;
    Outcome outcome = Outcome::Skip;
    const bool blank = line.isEmpty() || (listing::isBlank(line.front()) && line.trimmed().isEmpty());
    if (!blank) outcome = dispatcher_.read(line, read);
    if (outcome == Outcome::Unreadable && format_ == ListingFormat::List && listing::isListingDecoration(line))
        outcome = Outcome::Skip;
    if (outcome == Outcome::Skip) return;
    if (outcome == Outcome::Entry && (read.name == "." || read.name == "..")) return;
    if (outcome == Outcome::Unreadable || !isListableName(read.name) || read.target.size() > MaxNameBytes) {
        ++unreadable_;
        return;
    }
    if (entries_.size() >= MaxEntries || names_.size() >= MaxNameBufferBytes) {
        overflowed_ = true;
        return;
    }
    ParsedEntry &entry = read.entry;
    if (entry.kind == ParsedEntry::Kind::Link && read.target.endsWith('/')) entry.kind = ParsedEntry::Kind::Folder;
    hasLinks_ = hasLinks_ || entry.kind == ParsedEntry::Kind::Link;
    makeRoom(names_, read.name.size() + read.target.size());
    makeRoom(entries_, 1);
    if (names_.size() + read.name.size() + read.target.size() > namesMapped_)
        mapInAhead(names_.data(), names_.size() + read.name.size() + read.target.size(), names_.capacity(), &namesMapped_);
    const qsizetype entryBytes = qsizetype(sizeof(ParsedEntry));
    if ((entries_.size() + 1) * entryBytes > entriesMapped_)
        mapInAhead(entries_.data(), (entries_.size() + 1) * entryBytes, entries_.capacity() * entryBytes, &entriesMapped_);
    entry.nameOffset = quint32(names_.size());
    entry.nameLength = quint16(read.name.size());
    entry.targetLength = quint16(read.target.size());
    names_.resize(names_.size() + read.name.size() + read.target.size());
    char *const out = names_.data() + entry.nameOffset;
    std::memcpy(out, read.name.data(), size_t(read.name.size()));
    if (!read.target.isEmpty()) std::memcpy(out + read.name.size(), read.target.data(), size_t(read.target.size()));
    if (std::any_of(read.name.begin(), read.name.end(), [](char c) { return uchar(c) >= 0x80; })) {
        if (beyondAscii_.size() < CharsetSampleNames) beyondAscii_.append(entries_.size());
        if (!isValidUtf8(read.name)) ++namesNotUtf8_;
    }
    entries_.append(entry);
}

QList<QByteArrayView> FtpListingParser::namesBeyondAscii() const
{
    QList<QByteArrayView> sample;
    sample.reserve(beyondAscii_.size());
    for (qsizetype index : beyondAscii_) sample.append(name(entries_.at(index)));
    return sample;
}

void FtpListingParser::resolveLinksFromListing()
{
    if (!hasLinks_) return;
    QHash<QByteArrayView, ParsedEntry::Kind> kinds;
    for (const ParsedEntry &entry : std::as_const(entries_))
        if (entry.kind != ParsedEntry::Kind::Link) kinds.insert(name(entry), entry.kind);
    for (ParsedEntry &entry : entries_) {
        if (entry.kind != ParsedEntry::Kind::Link) continue;
        QByteArrayView to = target(entry);
        while (to.startsWith("./")) to = to.sliced(2);
        if (to.isEmpty() || to.contains('/')) continue;
        const auto found = kinds.constFind(to);
        if (found != kinds.constEnd()) entry.kind = *found;
    }
}

} // namespace corvexo::ftp
