// Microware OS-9 FTP servers (industrial controllers, set-top boxes): group
// and user, date, time, attributes, first sector and size in hexadecimal, name.
// "  1.12  24/03/15 1030  d-ewrewr    3A2     1C0  LOGS"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

bool isHexNumber(QByteArrayView word)
{
    return !word.isEmpty() && std::all_of(word.begin(), word.end(), [](char c) { return std::isxdigit(uchar(c)); });
}

bool isOwner(QByteArrayView word)
{
    const qsizetype dot = word.indexOf('.');
    return dot > 0 && allDigits(word.first(dot)) && allDigits(word.sliced(dot + 1));
}

} // namespace

Outcome readOs9Line(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens, 0, 7);
    if (count < 7 || !isOwner(textOf(line, tokens[0]))) return Outcome::Unreadable;
    const QByteArrayView date = textOf(line, tokens[1]), time = textOf(line, tokens[2]), attributes = textOf(line, tokens[3]);
    if (date.size() != 8 || date[2] != '/' || date[5] != '/' || time.size() != 4 || !allDigits(time)
        || attributes.size() != 8 || !isHexNumber(textOf(line, tokens[4])) || !isHexNumber(textOf(line, tokens[5])))
        return Outcome::Unreadable;
    for (char c : attributes)
        if (!std::strchr("dsewr-", c)) return Outcome::Unreadable;
    // yy/mm/dd
    const int year = yearOf(date.first(2)), month = int(numberOf(date.sliced(3, 2))), day = int(numberOf(date.sliced(6, 2)));
    if (year < 0 || !allDigits(date.sliced(3, 2)) || !allDigits(date.sliced(6, 2))) return Outcome::Unreadable;
    read.entry.modified = timeOf(year, month, day, int(numberOf(time.first(2))), int(numberOf(time.sliced(2))));
    read.name = line.sliced(tokens[6].begin);
    if (attributes[0] == 'd') read.entry.kind = ParsedEntry::Kind::Folder;
    else read.entry.size = textOf(line, tokens[5]).toLongLong(nullptr, 16);
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
