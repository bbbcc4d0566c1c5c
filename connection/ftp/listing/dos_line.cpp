// Windows and DOS style: IIS, FileZilla Server in its DOS mode, old Windows
// servers and appliances; US, ISO and dotted dates, 12 or 24 hour clocks.
// "02-14-24  10:30PM  <DIR>  name", "2024-02-14  10:30  1234 name", "14.02.2024  10:30  <DIR>  name".

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

Outcome readDosLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    if (line.isEmpty() || !isDigit(line[0])) return Outcome::Unreadable;
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens, 0, 5);
    if (count < 4) return Outcome::Unreadable;
    const QByteArrayView date = textOf(line, tokens[0]);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!dateOf(date, '-', 'U', &year, &month, &day) && !dateOf(date, '/', 'U', &year, &month, &day)
        && !dateOf(date, '-', 'I', &year, &month, &day) && !dateOf(date, '/', 'I', &year, &month, &day)
        && !dateOf(date, '.', 'E', &year, &month, &day))
        return Outcome::Unreadable;
    QByteArrayView time = textOf(line, tokens[1]);
    int field = 2;
    QByteArrayView half;
    if (time.size() > 2 && (lower(time.back()) == 'm')) {
        half = time.last(2);
        time.chop(2);
    } else if (textOf(line, tokens[2]).compare("AM", Qt::CaseInsensitive) == 0
               || textOf(line, tokens[2]).compare("PM", Qt::CaseInsensitive) == 0) {
        half = textOf(line, tokens[2]);
        field = 3;
    }
    if (!clockOf(time, &hour, &minute, &second) || field + 1 >= count) return Outcome::Unreadable;
    if (!half.isEmpty()) {
        if (lower(half[0]) != 'a' && lower(half[0]) != 'p') return Outcome::Unreadable;
        hour = hour % 12 + (lower(half[0]) == 'p' ? 12 : 0);
    }
    const QByteArrayView kind = textOf(line, tokens[field]);
    qsizetype nameStart = tokens[field].end + 1;
    if (kind.compare("<DIR>", Qt::CaseInsensitive) == 0) {
        read.entry.kind = ParsedEntry::Kind::Folder;
        // IIS pads "<DIR>" with ten blanks; blanks beyond them belong to the name.
        qsizetype blanks = 0;
        while (tokens[field].end + blanks < line.size() && line[tokens[field].end + blanks] == ' ') ++blanks;
        nameStart = tokens[field].end + (blanks >= 10 ? 10 : blanks);
    } else {
        QByteArray digits;
        for (char c : kind)
            if (c != ',' && c != '.') digits += c;
        if (!allDigits(digits)) return Outcome::Unreadable;
        read.entry.size = numberOf(digits);
    }
    if (nameStart >= line.size()) return Outcome::Unreadable;
    read.name = line.sliced(nameStart);
    read.entry.modified = timeOf(year, month, day, hour, minute, second);
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
