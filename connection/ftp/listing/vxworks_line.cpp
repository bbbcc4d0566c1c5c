// The FTP server of VxWorks, as Nortel switches and routers run it (Passport
// and Ethernet Routing Switch 8600, Secure Router), and other VxWorks devices:
// a two-line header, then size, date, time and the name padded to its column,
// a folder marked by "<DIR>" after it.
// "  size          date       time       name", "--------       ------     ------    --------",
// "    1876    MAR-02-2009  08:15:40   config.cfg        ", "     512    Jan-15-2008  10:00:00   logs              <DIR>"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

bool isHeader(const QByteArrayView *words, int count)
{
    if (count != 4) return false;
    if (words[0] == "size" && words[1] == "date" && words[2] == "time" && words[3] == "name") return true;
    for (int i = 0; i < count; ++i)
        if (!std::all_of(words[i].begin(), words[i].end(), [](char c) { return c == '-'; })) return false;
    return true;
}

// "MAR-02-2009", the month in any case.
qint64 modifiedOf(QByteArrayView word, QByteArrayView clock)
{
    if (word.size() != 11 || word[3] != '-' || word[6] != '-' || !allDigits(word.sliced(4, 2)) || !allDigits(word.sliced(7)))
        return ParsedEntry::NoTime;
    int hour = 0, minute = 0, second = 0;
    const int month = englishMonth(word.first(3));
    if (month == 0 || clock.size() != 8 || !clockOf(clock, &hour, &minute, &second)) return ParsedEntry::NoTime;
    return timeOf(int(numberOf(word.sliced(7))), month, int(numberOf(word.sliced(4, 2))), hour, minute, second);
}

} // namespace

Outcome readVxWorksLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens, 0, 5);
    if (count < 4) return Outcome::Unreadable;
    QByteArrayView words[5];
    for (int i = 0; i < count; ++i) words[i] = textOf(line, tokens[i]);
    if (isHeader(words, count)) return Outcome::Skip;
    const qint64 modified = modifiedOf(words[1], words[2]);
    if (!allDigits(words[0]) || modified == ParsedEntry::NoTime) return Outcome::Unreadable;
    // The name is padded to its column with blanks; a folder's mark follows the padding.
    QByteArrayView name = line.sliced(tokens[3].begin);
    while (isBlank(name.back())) name.chop(1);
    if (name.endsWith("  <DIR>")) {
        name.chop(7);
        while (isBlank(name.back())) name.chop(1);
        read.entry.kind = ParsedEntry::Kind::Folder;
    } else {
        read.entry.size = numberOf(words[0]);
    }
    read.name = name;
    read.entry.modified = modified;
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
