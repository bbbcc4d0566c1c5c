// Machine listings (MLSD, RFC 3659), and the same fact lines that some servers
// (IIS with its "unix" style off, some embedded servers) send as the answer to LIST.
// "type=file;size=5;modify=20240214103000; a name"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

// Whether a fact's key or value is text (lower case), in any case; inline, as every line holds several facts.
template <qsizetype N>
bool is(QByteArrayView value, const char (&text)[N])
{
    if (value.size() != N - 1) return false;
    for (qsizetype i = 0; i < N - 1; ++i)
        if (lower(value[i]) != text[i]) return false;
    return true;
}

void readType(QByteArrayView value, LineRead &read)
{
    static constexpr char SlinkPrefix[] = "os.unix=slink:";
    constexpr qsizetype prefixLength = sizeof SlinkPrefix - 1;
    if (is(value, "dir")) {
        read.entry.kind = ParsedEntry::Kind::Folder;
    } else if (is(value, "os.unix=symlink")) {
        read.entry.kind = ParsedEntry::Kind::Link;
    } else if (value.size() >= prefixLength && is(value.first(prefixLength), SlinkPrefix)) {
        // pure-ftpd leaves the target empty: a link like any other, its kind asked of the server
        read.entry.kind = ParsedEntry::Kind::Link;
        read.target = value.sliced(prefixLength);
    }
}

// "modify=20240214103000" or with a fraction; dates before 1970 as well.
qint64 timeOfFact(QByteArrayView value)
{
    if (value.size() < 14 || !allDigits(value.first(14))) return ParsedEntry::NoTime;
    auto part = [&](int from, int length) { return int(numberOf(value.sliced(from, length))); };
    return timeOf(part(0, 4), part(4, 2), part(6, 2), part(8, 2), part(10, 2), part(12, 2));
}

} // namespace

Outcome readMlsdLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    // Facts hold no blank, so the first blank starts the name, which is kept whole.
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0) return Outcome::Unreadable;
    read.name = line.sliced(blank + 1);
    QByteArrayView facts = line.first(blank);
    if (!facts.isEmpty() && !facts.contains('=')) return Outcome::Unreadable;
    while (!facts.isEmpty()) {
        qsizetype end = facts.indexOf(';');
        if (end < 0) end = facts.size();
        const QByteArrayView fact = facts.first(end);
        facts = facts.sliced(std::min(end + 1, facts.size()));
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0) continue;
        const QByteArrayView key = fact.first(equals), value = fact.sliced(equals + 1);
        if (is(key, "type")) {
            if (is(value, "cdir") || is(value, "pdir")) return Outcome::Skip;
            readType(value, read);
        } else if (is(key, "size")) {
            read.entry.size = allDigits(value) ? numberOf(value) : -1;
        } else if (is(key, "modify")) {
            read.entry.modified = timeOfFact(value);
            read.entry.modifiedIsUtc = read.entry.modified != ParsedEntry::NoTime;
        }
    }
    return Outcome::Entry;
}

// In answer to LIST only lines that look like facts throughout count: "key=value;...; name".
Outcome readFactsAnsweringList(QByteArrayView line, const LineClock &clock, LineRead &read)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank < 4 || line[blank - 1] != ';' || !line.first(blank).contains('=')) return Outcome::Unreadable;
    return readMlsdLine(line, clock, read);
}

} // namespace corvexo::ftp::listing
