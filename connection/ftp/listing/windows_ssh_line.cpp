// Older SSH servers for Windows (VShell and its kind) whose SFTP long name is
// not ls's: size, month, day with a comma, year, clock and name, a folder
// marked by a trailing "/". FTP fronts and SFTP-to-FTP bridges hand that long
// name on as the answer to LIST.
// "   20480  Mar 07, 2004 18:02 setup log.txt", "       0  Nov 21, 2003 09:15 Backups/"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

Outcome readWindowsSshLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    if (tokensOf(line, tokens, 0, 6) < 6) return Outcome::Unreadable;
    const QByteArrayView size = textOf(line, tokens[0]), day = textOf(line, tokens[2]);
    const int month = englishMonth(textOf(line, tokens[1]));
    if (!allDigits(size) || month == 0 || day.size() < 2 || day.size() > 3 || day.back() != ',' || !allDigits(day.chopped(1)))
        return Outcome::Unreadable;
    const QByteArrayView year = textOf(line, tokens[3]);
    int hour = 0, minute = 0, second = 0;
    if (year.size() != 4 || !allDigits(year) || !clockOf(textOf(line, tokens[4]), &hour, &minute, &second))
        return Outcome::Unreadable;
    const qint64 modified = timeOf(int(numberOf(year)), month, int(numberOf(day)), hour, minute, second);
    if (modified == ParsedEntry::NoTime) return Outcome::Unreadable;
    QByteArrayView name = line.sliced(tokens[5].begin);
    if (name.size() > 1 && name.back() == '/') {
        name.chop(1);
        read.entry.kind = ParsedEntry::Kind::Folder;
    } else {
        read.entry.size = numberOf(size);
    }
    read.name = name;
    read.entry.modified = modified;
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
