// IBM i (AS/400, iSeries) in its own list format: owner, size, date, time,
// object type and name; members of a file show the type and name alone.
// "CLERK       1234567 03/15/24 10:30:00 *STMF      report.csv"
// "                                      *MEM       PAYROLL.FILE/JAN.MBR"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

bool isObjectType(QByteArrayView word)
{
    if (word.size() < 3 || word[0] != '*') return false;
    return std::all_of(word.begin() + 1, word.end(), [](char c) { return (c >= 'A' && c <= 'Z') || isDigit(c); });
}

// The job's date format decides the order: month first is the default, day first where that cannot be.
bool ibmDate(QByteArrayView word, int *year, int *month, int *day)
{
    for (char separator : {'/', '.', '-', ','})
        if (dateOf(word, separator, 'U', year, month, day) || dateOf(word, separator, 'E', year, month, day)
            || dateOf(word, separator, 'I', year, month, day))
            return true;
    return false;
}

// "10:30:00" or "10.30.00"
bool ibmClock(QByteArrayView word, int *hour, int *minute, int *second)
{
    if (word.size() != 8) return false;
    char text[8];
    for (int i = 0; i < 8; ++i) text[i] = word[i] == '.' ? ':' : word[i];
    return clockOf(QByteArrayView(text, 8), hour, minute, second);
}

} // namespace

Outcome readIbmILine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens, 0, 6);
    int typeAt = 0;
    while (typeAt < count && typeAt < 4 && !isObjectType(textOf(line, tokens[typeAt]))) ++typeAt;
    if (typeAt + 1 >= count || !isObjectType(textOf(line, tokens[typeAt])) || (typeAt != 0 && typeAt < 3))
        return Outcome::Unreadable;
    if (typeAt >= 3) {
        // owner (blank for anonymous sessions), size (blank when none), date, time
        int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        if (!ibmDate(textOf(line, tokens[typeAt - 2]), &year, &month, &day)
            || !ibmClock(textOf(line, tokens[typeAt - 1]), &hour, &minute, &second))
            return Outcome::Unreadable;
        read.entry.modified = timeOf(year, month, day, hour, minute, second);
        if (typeAt == 4 || allDigits(textOf(line, tokens[0]))) {
            const QByteArrayView size = textOf(line, tokens[typeAt - 3]);
            if (!allDigits(size)) return Outcome::Unreadable;
            read.entry.size = numberOf(size);
        }
    }
    const QByteArrayView type = textOf(line, tokens[typeAt]);
    QByteArrayView name = line.sliced(tokens[typeAt + 1].begin);
    while (!name.isEmpty() && isBlank(name.back())) name.chop(1);
    const bool endsWithSlash = name.endsWith('/');
    if (endsWithSlash) name.chop(1);
    // Names may come as paths ("PAYROLL.FILE/JAN.MBR"): the entry is the last part.
    if (const qsizetype slash = name.lastIndexOf('/'); slash >= 0) name = name.sliced(slash + 1);
    read.name = name;
    const bool container = type == "*DIR" || type == "*LIB" || type == "*FLR" || type == "*DDIR"
        || (type == "*FILE" && name.endsWith(".FILE"));
    if (container || endsWithSlash) {
        read.entry.kind = ParsedEntry::Kind::Folder;
        read.entry.size = -1;
    }
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
