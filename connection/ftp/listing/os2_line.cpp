// IBM OS/2 and eComStation FTP servers: size, attributes ("DIR" for a folder,
// "A", "R", "H", "S"), date, time and name.
// "     0           DIR   04-11-95   16:26  BACKUP", "  1234     A     07-28-95   16:45  notes.txt"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

Outcome readOs2Line(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens, 0, 6);
    if (count < 4 || !allDigits(textOf(line, tokens[0]))) return Outcome::Unreadable;
    int dateAt = 1;
    bool folder = false;
    for (; dateAt < count && dateAt < 3; ++dateAt) {
        const QByteArrayView word = textOf(line, tokens[dateAt]);
        if (word == "DIR") folder = true;
        else if (word.isEmpty() || word.size() > 4 || !std::all_of(word.begin(), word.end(), [](char c) { return std::strchr("ARHS", c); }))
            break;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (dateAt + 2 >= count || !dateOf(textOf(line, tokens[dateAt]), '-', 'U', &year, &month, &day)
        || !clockOf(textOf(line, tokens[dateAt + 1]), &hour, &minute, &second))
        return Outcome::Unreadable;
    read.name = line.sliced(tokens[dateAt + 2].begin);
    read.entry.modified = timeOf(year, month, day, hour, minute, second);
    read.entry.kind = folder ? ParsedEntry::Kind::Folder : ParsedEntry::Kind::File;
    read.entry.size = folder ? -1 : numberOf(textOf(line, tokens[0]));
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
