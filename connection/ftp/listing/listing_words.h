#pragma once
// The words, numbers, months, dates and clocks that listing lines are made of,
// read on views of the server's bytes. Inline: the common line forms read them
// for every line of a listing that may hold a million.

#include "parsed_entry.h"

#include <QByteArray>
#include <QByteArrayView>
#include <algorithm>
#include <cctype>
#include <cstring>

namespace corvexo::ftp::listing {

struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
};

constexpr int MaxTokens = 12;

inline bool isBlank(char c) { return c == ' ' || c == '\t'; }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// Adds the line's words after the first count of them, up to wanted words in all.
inline int tokensOf(QByteArrayView line, Token *tokens, int count = 0, int wanted = MaxTokens)
{
    const char *const begin = line.data(), *const end = begin + line.size();
    const char *at = count ? begin + tokens[count - 1].end : begin;
    wanted = std::min(wanted, MaxTokens);
    while (count < wanted) {
        while (at != end && isBlank(*at)) ++at;
        if (at == end) break;
        const char *const word = at;
        while (at != end && !isBlank(*at)) ++at;
        tokens[count++] = {word - begin, at - begin};
    }
    return count;
}

inline QByteArrayView textOf(QByteArrayView line, Token token)
{
    return line.sliced(token.begin, token.end - token.begin);
}

inline bool allDigits(QByteArrayView word)
{
    if (word.isEmpty()) return false;
    for (char c : word)
        if (!isDigit(c)) return false;
    return true;
}

// The value of leading digits (at most 18 of them); -1 when there are none.
inline qint64 numberOf(QByteArrayView word, qsizetype *used = nullptr)
{
    qint64 value = 0;
    qsizetype i = 0;
    for (; i < word.size() && i < 18 && isDigit(word[i]); ++i) value = value * 10 + (word[i] - '0');
    if (used) *used = i;
    return i == 0 ? -1 : value;
}

// Digits followed by one character beyond ASCII: "3月", "14日", "2024年", "10월" in
// UTF-8 or a legacy East Asian charset, whose second byte may be ASCII
// (Shift_JIS and Big5 "年"); plain digits as well.
inline qint64 numberWithSuffix(QByteArrayView word, int maxDigits)
{
    qsizetype used = 0;
    const qint64 value = numberOf(word, &used);
    if (value < 0 || used > maxDigits) return -1;
    if (used == word.size()) return value;
    return uchar(word[used]) >= 0x80 && word.size() - used <= 4 ? value : -1;
}

inline int englishMonth(QByteArrayView word)
{
    static const char months[] = "janfebmaraprmayjunjulaugsepoctnovdec";
    if (word.size() != 3) return 0;
    const char key[3] = {lower(word[0]), lower(word[1]), lower(word[2])};
    for (int m = 0; m < 12; ++m)
        if (std::memcmp(months + 3 * m, key, 3) == 0) return m + 1;
    return 0;
}

// A month's name in a European language, whole or shortened, a trailing dot
// allowed ("Juli", "Okt.", "févr.", "mrt", "maj"); 0 when it is none.
int europeanMonth(QByteArrayView word);

// 1..12 for an English or numbered month; 0 for a word that may name a month
// in another language (europeanMonth() tells, once the rest of a date fits); -1 for no month.
inline int monthOf(QByteArrayView word)
{
    if (const int m = englishMonth(word)) return m;
    const qint64 numbered = numberWithSuffix(word, 2);
    if (numbered >= 1 && numbered <= 12 && word.size() > 2) return int(numbered);
    if (word.size() < 3 || word.size() > 8 || isDigit(word[0])) return -1;
    for (char c : word)
        if (isDigit(c) || c == ':' || c == '-' || c == '/') return -1;
    return 0;
}

inline qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

inline qint64 timeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59
        || second < 0 || second > 60)
        return ParsedEntry::NoTime;
    return ((daysFromCivil(year, unsigned(month), unsigned(day)) * 24 + hour) * 60 + minute) * 60000LL
        + second * 1000LL;
}

// "12:30", "12:30:05", "12:30:05.123456789"
inline bool clockOf(QByteArrayView word, int *hour, int *minute, int *second)
{
    qsizetype used = 0;
    *hour = int(numberOf(word, &used));
    if (*hour < 0 || used > 2 || used >= word.size() || word[used] != ':') return false;
    word = word.sliced(used + 1);
    *minute = int(numberOf(word, &used));
    if (used != 2) return false;
    *second = 0;
    if (used == word.size()) return true;
    if (word[used] != ':') return false;
    word = word.sliced(used + 1);
    *second = int(numberOf(word, &used));
    return used == 2 && (used == word.size() || word[used] == '.' || word[used] == ',');
}

// Dates written with two numbers and a year; order: 'U' month-day-year, 'I' year-month-day, 'E' day-month-year.
inline bool dateOf(QByteArrayView word, char separator, char order, int *year, int *month, int *day)
{
    qint64 parts[3];
    qsizetype lengths[3];
    for (int i = 0; i < 3; ++i) {
        parts[i] = numberOf(word, &lengths[i]);
        if (parts[i] < 0) return false;
        word = word.sliced(lengths[i]);
        if (i < 2) {
            if (word.isEmpty() || word[0] != separator) return false;
            word = word.sliced(1);
        }
    }
    if (!word.isEmpty()) return false;
    const int yearAt = order == 'I' ? 0 : 2;
    if (order == 'I' && lengths[0] != 4) return false;
    *year = int(parts[yearAt]);
    if (lengths[yearAt] == 2) *year += *year < 70 ? 2000 : 1900;
    else if (lengths[yearAt] != 4) return false;
    *month = int(order == 'U' ? parts[0] : parts[1]);
    *day = int(order == 'U' ? parts[1] : order == 'I' ? parts[2] : parts[0]);
    return *month >= 1 && *month <= 12 && *day >= 1 && *day <= 31;
}

// A year of two or four digits, as written after a month; -1 for none.
int yearOf(QByteArrayView word);

// A size as some servers print it when the column is narrow: "33.5k", "1.2M", "7G"; -1 for none.
qint64 sizeWithUnit(QByteArrayView word);

} // namespace corvexo::ftp::listing
