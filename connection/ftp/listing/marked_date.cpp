#include "marked_date.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

enum Role { Year, Month, Day, None };

// 年, 月, 日 and the Korean 년, 월, 일, as each charset writes them. Only these
// count: "2003年度" or "1号" begin names, not dates.
constexpr const char *Marks[3][7] = {
    {"\xe5\xb9\xb4", "\x94N", "\xc7\xaf", "\xc4\xea", "\xa6~", "\xeb\x85\x84", "\xb3\xe2"},
    {"\xe6\x9c\x88", "\x8c\x8e", "\xb7\xee", "\xd4\xc2", "\xa4\xeb", "\xec\x9b\x94", "\xbf\xf9"},
    {"\xe6\x97\xa5", "\x93\xfa", "\xc6\xfc", "\xc8\xd5", "\xa4\xe9", "\xec\x9d\xbc", "\xc0\xcf"},
};

// The role of the mark at the start of text, and its length in *length.
Role markAt(QByteArrayView text, qsizetype *length)
{
    for (int role = Year; role <= Day; ++role)
        for (const char *mark : Marks[role])
            if (text.startsWith(QByteArrayView(mark))) {
                *length = qsizetype(std::strlen(mark));
                return Role(role);
            }
    return None;
}

struct Part {
    Role role = None;
    int value = 0;
};

// Up to three marked numbers from the words' start; a word counts only when it
// is marked numbers alone. How many were found; *used: the words they took.
int markedParts(const QByteArrayView *words, int available, Part *parts, int *used)
{
    int found = 0;
    *used = 0;
    while (found < 3 && *used < available) {
        QByteArrayView word = words[*used];
        int inWord = 0;
        while (!word.isEmpty() && found + inWord < 3) {
            qsizetype digits = 0, mark = 0;
            const qint64 value = numberOf(word, &digits);
            if (value < 0 || digits > 4) return found;
            const Role role = markAt(word.sliced(digits), &mark);
            if (role == None || (role == Year) != (digits == 4)) return found;
            parts[found + inWord++] = {role, int(value)};
            word = word.sliced(digits + mark);
        }
        if (!word.isEmpty()) return found;
        found += inWord;
        ++*used;
    }
    return found;
}

} // namespace

int markedDateAt(const QByteArrayView *words, int available, MarkedDate &date)
{
    Part parts[3];
    int used = 0;
    const int found = markedParts(words, available, parts, &used);
    if (found < 2) return 0;
    const bool yearFirst = found == 3 && parts[0].role == Year;
    const Part *month = parts + (yearFirst ? 1 : 0), *day = month + 1;
    if (month->role != Month || day->role != Day || month->value < 1 || month->value > 12 || day->value < 1
        || day->value > 31)
        return 0;
    date.month = month->value;
    date.day = day->value;
    date.year = yearFirst ? parts[0].value : found == 3 && parts[2].role == Year ? parts[2].value : 0;
    if (found == 3 && date.year == 0) return 0;
    return used;
}

} // namespace corvexo::ftp::listing
