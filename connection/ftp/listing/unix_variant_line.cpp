// Unix long lines the common reading passes by, from older or localised ls
// builds, embedded servers (routers, cameras, printers, NAS firmware) and
// servers of their own making: numeric months ("3 29 03:26", "09-26 2000"),
// other date orders and separators ("1999/10/12", "24-04-2003", "2004.07.15",
// "01-jun-99", "01 oct 2004 10:30", "Oct 08, 2002 09:47"), day-first dates with
// month names of other languages ("26. Juli 2003", "2. Okt. 2003"), marked
// Japanese, Chinese and Korean dates ("2003年 4月 18日", "2003年4月18日 10:30",
// "4月18日 10:30"), sizes with a unit ("33.5k"), octal modes ("644"), owner,
// group and size run together, and lines without any date.

#include "listing_families.h"
#include "listing_words.h"
#include "marked_date.h"

namespace corvexo::ftp::listing {

namespace {

struct Date {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool yearGuessed = false;
};

// The type letter of a mode: "drwxr-xr-x", "-rw-r--r--+", or octal "644", "40755"; 0 for no mode.
char typeOfMode(QByteArrayView mode)
{
    if (mode.size() >= 10 && mode.size() <= 11 && std::strchr("-dlbcpsDL", mode[0])) {
        for (qsizetype i = 1; i < 10; ++i)
            if (!std::strchr("rwxsStTlL-", mode[i])) return 0;
        return lower(mode[0]);
    }
    if (mode.size() < 3 || mode.size() > 7) return 0;
    qint64 bits = 0;
    for (char c : mode) {
        if (c < '0' || c > '7') return 0;
        bits = bits * 8 + (c - '0');
    }
    const qint64 fileType = bits >> 12;
    return fileType == 04 ? 'd' : fileType == 012 ? 'l' : '-';
}

// Sets the time of day only when the word is one.
bool clockInto(QByteArrayView word, Date &date)
{
    int hour = 0, minute = 0, second = 0;
    if (!clockOf(word, &hour, &minute, &second)) return false;
    date.hour = hour;
    date.minute = minute;
    date.second = second;
    return true;
}

bool clockOrYear(QByteArrayView word, Date &date, int currentYear)
{
    if (clockInto(word, date)) {
        date.year = currentYear;
        date.yearGuessed = true;
        return true;
    }
    date.year = word.size() == 4 ? yearOf(word) : -1;
    return date.year > 0;
}

// "09-26": month and day.
bool monthAndDay(QByteArrayView word, Date &date)
{
    if (word.size() != 5 || word[2] != '-' || !allDigits(word.first(2)) || !allDigits(word.sliced(3))) return false;
    date.month = int(numberOf(word.first(2)));
    date.day = int(numberOf(word.sliced(3)));
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31;
}

// "01-jun-99", "15-Okt-2003"
bool dayMonthNameYear(QByteArrayView word, Date &date)
{
    const qsizetype first = word.indexOf('-'), second = word.lastIndexOf('-');
    if (first < 1 || first > 2 || second <= first + 1 || !allDigits(word.first(first))) return false;
    date.day = int(numberOf(word.first(first)));
    date.month = monthOf(word.sliced(first + 1, second - first - 1));
    date.year = yearOf(word.sliced(second + 1));
    return date.month > 0 && date.year > 0 && date.day >= 1 && date.day <= 31;
}

// "26.", "2", "08," : a day with the dot of German dates or a comma after it.
int dayOf(QByteArrayView word, char allowedMark)
{
    if (!word.isEmpty() && word.back() == allowedMark) word.chop(1);
    if (word.isEmpty() || word.size() > 2 || !allDigits(word)) return -1;
    const int day = int(numberOf(word));
    return day >= 1 && day <= 31 ? day : -1;
}

int namedMonth(QByteArrayView word)
{
    if (word.endsWith('.')) word.chop(1);
    const int month = monthOf(word);
    return month > 0 ? month : europeanMonth(word);
}

// The date that starts at words[0]; how many words it takes, 0 for none. A clock
// right after a year belongs to the date: the forms that write both write the
// clock there, while a year after a clock, or a second year, begins the name.
int dateAt(const QByteArrayView *words, int available, Date &date, int currentYear)
{
    if (available < 1) return 0;
    const QByteArrayView w0 = words[0], w1 = available > 1 ? words[1] : QByteArrayView(),
                         w2 = available > 2 ? words[2] : QByteArrayView();
    auto withClock = [&](int used) {
        return used < available && clockInto(words[used], date) ? used + 1 : used;
    };
    auto clockOrYearThenClock = [&](QByteArrayView word, int used) {
        if (!clockOrYear(word, date, currentYear)) return 0;
        return date.yearGuessed ? used : withClock(used);
    };
    if (dateOf(w0, '/', 'I', &date.year, &date.month, &date.day) || dateOf(w0, '.', 'I', &date.year, &date.month, &date.day)
        || dateOf(w0, '-', 'I', &date.year, &date.month, &date.day)
        || dateOf(w0, '-', 'E', &date.year, &date.month, &date.day) || dateOf(w0, '.', 'E', &date.year, &date.month, &date.day)
        || dayMonthNameYear(w0, date))
        return withClock(1);
    MarkedDate marked;
    if (const int used = markedDateAt(words, available, marked)) {
        date.month = marked.month;
        date.day = marked.day;
        date.year = marked.year;
        if (marked.year) return withClock(used);
        return used < available ? clockOrYearThenClock(words[used], used + 1) : 0;
    }
    if (monthAndDay(w0, date)) return clockOrYearThenClock(w1, 2);
    if (available < 3) return 0;
    if (w0.size() <= 2 && allDigits(w0)) {
        // "3 29 03:26": month first; "01 oct 2004", "26. Juli 2003": day first
        date.month = int(numberOf(w0));
        date.day = dayOf(w1, 0);
        if (date.month <= 12 && date.day > 0)
            if (const int used = clockOrYearThenClock(w2, 3)) return used;
    }
    if ((date.day = dayOf(w0, '.')) > 0 && (date.month = namedMonth(w1)) > 0) return clockOrYearThenClock(w2, 3);
    if ((date.month = namedMonth(w0)) > 0 && (date.day = dayOf(w1, ',')) > 0) {
        // "Oct 08, 2002 09:47"
        if (w1.endsWith(',') && (date.year = yearOf(w2)) > 0) return withClock(3);
        return clockOrYear(w2, date, currentYear) ? 3 : 0;
    }
    return 0;
}

// Digits, or digits with a unit; -1 for none.
qint64 sizeOf(QByteArrayView word)
{
    return allDigits(word) ? numberOf(word) : sizeWithUnit(word);
}

// A size, or one after the group's name where the columns ran together ("staff123456"); -1 for none.
qint64 sizeBeforeDate(QByteArrayView word)
{
    if (const qint64 size = sizeOf(word); size >= 0) return size;
    qsizetype digits = 0;
    while (digits < word.size() && isDigit(word[word.size() - 1 - digits])) ++digits;
    if (digits == 0 || digits == word.size() || isDigit(word[0])) return -1;
    return numberOf(word.last(digits));
}

// "-rw-r--r-- 1 owner group 1234 name": links, owner, group and size, any of the first three missing.
int sizeWordWithoutDate(const QByteArrayView *words, int count)
{
    if (count > 5 && allDigits(words[1]) && allDigits(words[2]) && allDigits(words[3]) && allDigits(words[4]))
        return 4;
    for (int k = 2; k <= 4 && k + 1 < count; ++k)
        if (sizeOf(words[k]) >= 0 && sizeOf(words[k - 1]) < 0) return k;
    return -1;
}

} // namespace

Outcome readUnixVariantLine(QByteArrayView line, const LineClock &clock, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 3 || isBlank(line[0])) return Outcome::Unreadable;
    const QByteArrayView mode = textOf(line, tokens[0]);
    const char type = typeOfMode(mode);
    if (!type) return Outcome::Unreadable;
    // This family is tried first once it read a line; the lines of the forms before it stay theirs.
    LineRead theirs;
    if (readUnixLine(line, clock, theirs) != Outcome::Unreadable || readWindowsSshLine(line, clock, theirs) != Outcome::Unreadable)
        return Outcome::Unreadable;
    QByteArrayView words[MaxTokens];
    for (int i = 0; i < count; ++i) words[i] = textOf(line, tokens[i]);
    for (int i = 2; i + 1 < count; ++i) {
        const qint64 size = sizeBeforeDate(words[i - 1]);
        if (size < 0) continue;
        Date date;
        const int used = dateAt(words + i, count - i, date, clock.currentYear);
        if (used == 0 || i + used >= count) continue;
        read.entry.size = size;
        read.entry.modified = timeOf(date.year, date.month, date.day, date.hour, date.minute, date.second);
        if (date.yearGuessed && read.entry.modified != ParsedEntry::NoTime && read.entry.modified > clock.now + 86400000LL)
            read.entry.modified = timeOf(date.year - 1, date.month, date.day, date.hour, date.minute, date.second);
        takeUnixName(type, mode, line.sliced(tokens[i + used - 1].end + 1), read);
        return Outcome::Entry;
    }
    const int sizeAt = sizeWordWithoutDate(words, count);
    if (sizeAt < 0) return Outcome::Unreadable;
    // "-rw-r--r-- 1 owner 1234 Jan 1 2020": a date where the name should be means the name is missing
    Date date;
    if (dateAt(words + sizeAt + 1, count - sizeAt - 1, date, clock.currentYear) == count - sizeAt - 1)
        return Outcome::Unreadable;
    read.entry.size = sizeOf(words[sizeAt]);
    takeUnixName(type, mode, line.sliced(tokens[sizeAt].end + 1), read);
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
