// Easily Parsed LIST Format: publicfile, anonftpd and a few embedded servers.
// "+i8388621.29609,m824255902,/,\tdev" and "+r,s1234,m824255902,\tfile.txt"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

Outcome readEplfLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    if (line.isEmpty() || line[0] != '+') return Outcome::Unreadable;
    const qsizetype tab = line.indexOf('\t');
    if (tab < 1) return Outcome::Unreadable;
    QByteArrayView facts = line.sliced(1, tab - 1);
    read.name = line.sliced(tab + 1);
    while (!facts.isEmpty()) {
        qsizetype end = facts.indexOf(',');
        if (end < 0) end = facts.size();
        const QByteArrayView fact = facts.first(end);
        facts = facts.sliced(std::min(end + 1, facts.size()));
        if (fact == "/") read.entry.kind = ParsedEntry::Kind::Folder;
        else if (fact.size() > 1 && fact[0] == 's' && allDigits(fact.sliced(1))) read.entry.size = numberOf(fact.sliced(1));
        else if (fact.size() > 1 && fact[0] == 'm' && allDigits(fact.sliced(1))) {
            read.entry.modified = numberOf(fact.sliced(1)) * 1000;
            read.entry.modifiedIsUtc = true;
        }
    }
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
