// The common Unix long form: GNU and BSD ls, vsftpd, ProFTPD, pure-ftpd,
// pyftpdlib, FileZilla Server, most appliances; also long-iso and full-iso
// dates, months in the locale's language and Novell NetWare's rights column.
// "drwxr-xr-x 2 u g 4096 Jan  1 12:00 name", "-rw-r--r-- 1 u g 5 2024-02-14 10:30 name",
// "-rw-r--r-- 1 u g 5  3月 14 10:30 name", "d [RWCEAFMS] owner 512 Feb 14 10:30 name",
// and BSD's full time "-rw-r--r-- 1 u g 5 Feb 14 10:30:00 2024 name".

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

void takeUnixName(char type, QByteArrayView mode, QByteArrayView name, LineRead &read)
{
    read.name = name;
    read.entry.kind = type == 'd' ? ParsedEntry::Kind::Folder : ParsedEntry::Kind::File;
    if (type == 'l') {
        read.entry.kind = ParsedEntry::Kind::Link;
        const qsizetype arrow = read.name.indexOf(" -> ");
        if (arrow > 0) {
            read.target = read.name.sliced(arrow + 4);
            read.name = read.name.first(arrow);
        }
    }
    // ls -F marks a name with its kind ("dir/", "run*", "ln@"): the mark goes when the mode agrees.
    if (read.name.size() < 2) return;
    const char mark = read.name.back();
    const bool executable = mode.size() >= 10 && (mode[3] == 'x' || mode[6] == 'x' || mode[9] == 'x');
    const bool agrees = (mark == '/' && type == 'd') || (mark == '@' && type == 'l' && read.target.isEmpty())
        || (mark == '*' && type == '-' && executable) || (mark == '|' && type == 'p') || (mark == '=' && type == 's');
    if (agrees) read.name.chop(1);
}

namespace {

// The year word after one blank at line[from]; 0 for none. *end: where the word ends.
int yearAt(QByteArrayView line, qsizetype from, qsizetype *end)
{
    if (from + 5 > line.size() || !isBlank(line[from])) return 0;
    const QByteArrayView word = line.sliced(from + 1, 4);
    if (!allDigits(word) || numberOf(word) < 1900 || (from + 5 < line.size() && !isBlank(line[from + 5]))) return 0;
    *end = from + 5;
    return int(numberOf(word));
}

} // namespace

Outcome readUnixLine(QByteArrayView line, const LineClock &clock, LineRead &read)
{
    if (line.size() < 10 || !std::strchr("-dlbcpsDL", line[0])) return Outcome::Unreadable;
    Token tokens[MaxTokens];
    int count = 0;
    // Owner and group may be missing or hold digits, so find the date by its shape:
    // size, month, day, time or year, then the name after one blank. Words are read
    // only as far as needed: the name's own are not.
    for (int i = 2; (count = tokensOf(line, tokens, count, i + 3)) > i + 1; ++i) {
        const QByteArrayView sizeWord = textOf(line, tokens[i - 1]), word = textOf(line, tokens[i]);
        if (!allDigits(sizeWord)) continue;
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        qsizetype nameStart = -1;
        bool hasTime = false, yearGuessed = false;
        if (dateOf(word, '-', 'I', &year, &month, &day)) {
            const QByteArrayView time = textOf(line, tokens[i + 1]);
            if (!clockOf(time, &hour, &minute, &second)) continue;
            int last = i + 1;
            // full-iso adds the zone ("+0900") after a clock with a fraction
            if (time.contains('.') && last + 1 < count) {
                const QByteArrayView zone = textOf(line, tokens[last + 1]);
                if (zone.size() == 5 && (zone[0] == '+' || zone[0] == '-') && allDigits(zone.sliced(1))) ++last;
            }
            nameStart = tokens[last].end + 1;
            hasTime = true;
        } else {
            const int monthNumber = monthOf(word);
            if (monthNumber < 0 || i + 2 >= count) continue;
            day = int(numberWithSuffix(textOf(line, tokens[i + 1]), 2));
            if (day < 1 || day > 31) continue;
            const QByteArrayView last = textOf(line, tokens[i + 2]);
            if (clockOf(last, &hour, &minute, &second)) {
                year = clock.currentYear;
                yearGuessed = true;
            } else {
                hour = minute = second = 0;
                year = int(numberWithSuffix(last, 4));
                if (year < 1900 || last.size() < 4) continue;
            }
            month = monthNumber ? monthNumber : europeanMonth(word);
            hasTime = month > 0;
            nameStart = tokens[i + 2].end + 1;
            // BSD's ls -T writes the seconds and then the year: "Jan  1 10:30:00 2020"
            if (yearGuessed && last.size() == 8) [[unlikely]] {
                qsizetype yearEnd = 0;
                if (const int written = yearAt(line, tokens[i + 2].end, &yearEnd)) {
                    year = written;
                    yearGuessed = false;
                    nameStart = yearEnd + 1;
                }
            }
        }
        if (nameStart >= line.size()) return Outcome::Unreadable;
        read.entry.size = numberOf(sizeWord);
        if (hasTime) {
            read.entry.modified = timeOf(year, month, day, hour, minute, second);
            // a time without a year is within the last year, never more than a day ahead
            if (yearGuessed && read.entry.modified != ParsedEntry::NoTime
                && read.entry.modified > clock.now + 86400000LL)
                read.entry.modified = timeOf(year - 1, month, day, hour, minute, second);
        }
        takeUnixName(lower(line[0]), textOf(line, tokens[0]), line.sliced(nameStart), read);
        return Outcome::Entry;
    }
    return Outcome::Unreadable;
}

} // namespace corvexo::ftp::listing
