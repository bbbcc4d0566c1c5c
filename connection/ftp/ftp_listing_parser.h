#pragma once
// Reads a folder listing as it arrives: every complete line is parsed when it
// comes in, on views of the received bytes, and only an unfinished last line
// is kept. Names (and link targets) go into one byte buffer in the server's
// own bytes; each entry holds offsets into it. The line forms are the
// families of listing/; lines none of them reads are counted, not dropped in
// silence.

#include "listing/listing_dispatcher.h"
#include "listing/parsed_entry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace corvexo::ftp {

enum class ListingFormat { Mlsd, List };

class FtpListingParser {
public:
    static constexpr qsizetype MaxNameBytes = 4096;
    static constexpr qsizetype MaxLineBytes = 3 * MaxNameBytes;
    static constexpr qsizetype MaxEntries = 2'000'000;
    static constexpr qsizetype MaxNameBufferBytes = 1LL << 31;
    static constexpr qsizetype CharsetSampleNames = 200;
    static_assert(MaxNameBytes < (1 << 13), "a target's length must fit ParsedEntry::targetLength");
    static constexpr qsizetype ReservedEntries = 1 << 17;
    static constexpr qsizetype ReservedNameBytes = 4 << 20;

    // now (milliseconds since 1970, 0: the clock's): Unix dates that show a
    // time instead of a year lie in the year before it.
    explicit FtpListingParser(ListingFormat format, qint64 now = 0);

    // Parses every complete line of bytes. False once the listing holds more
    // entries than MaxEntries; the parser then takes nothing more.
    bool feed(QByteArrayView bytes);
    // The last line, when the listing did not end with a line end.
    void finish();

    // Settles links whose target is a sibling of a known kind, or ends with "/".
    void resolveLinksFromListing();

    const QList<ParsedEntry> &entries() const { return entries_; }
    QList<ParsedEntry> &entries() { return entries_; }
    QByteArrayView name(const ParsedEntry &entry) const { return bytesAt(entry.nameOffset, entry.nameLength); }
    QByteArrayView target(const ParsedEntry &entry) const
    {
        return bytesAt(entry.nameOffset + entry.nameLength, entry.targetLength);
    }
    const QByteArray &nameBytes() const { return names_; }
    bool hasLinks() const { return hasLinks_; }
    // The first names (at most CharsetSampleNames) with bytes beyond ASCII, which
    // reveal the server's charset; noted while parsing, so a million names are not read twice.
    QList<QByteArrayView> namesBeyondAscii() const;
    // Names, among all of the listing's, that are not well-formed UTF-8: the server writes another charset.
    qsizetype namesNotUtf8() const { return namesNotUtf8_; }
    int unreadable() const { return unreadable_; }
    bool overflowed() const { return overflowed_; }

private:
    QByteArrayView bytesAt(qsizetype offset, qsizetype length) const
    {
        return QByteArrayView(names_.constData() + offset, length);
    }
    void takeLine(QByteArrayView line);
    void parseLine(QByteArrayView line);

    ListingFormat format_;
    listing::LineDispatcher dispatcher_;
    QByteArray partial_;      // an unfinished line
    bool skippingLongLine_ = false;
    QByteArray vmsName_;      // a VMS name alone on its line; its fields follow on the next
    QByteArray names_;
    QList<ParsedEntry> entries_;
    int unreadable_ = 0;
    bool overflowed_ = false;
    bool hasLinks_ = false;
    QList<qsizetype> beyondAscii_;   // indexes into entries_
    qsizetype namesNotUtf8_ = 0;
    qsizetype namesMapped_ = 0;      // bytes of names_ and of entries_ mapped in ahead of use
    qsizetype entriesMapped_ = 0;
};

} // namespace corvexo::ftp
