// OpenVMS servers (HP TCP/IP Services, MultiNet, TCPware): a name with its
// version, then the size in blocks (used, or used/allocated), the date, the
// owner in brackets and the protection, in the order the server chose; a long
// name stands alone on its line with the rest on the next (joined by the parser).
// "README.TXT;3   2/4   14-FEB-2024 10:30:00  [GROUP,OWNER]  (RWED,RWED,RE,)"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

constexpr qint64 BlockBytes = 512;

// "14-FEB-2024"
bool vmsDate(QByteArrayView word, int *year, int *month, int *day)
{
    const qsizetype dash = word.indexOf('-');
    if (dash < 1 || dash > 2 || word.size() < dash + 7 || word[dash + 4] != '-') return false;
    *day = int(numberOf(word.first(dash)));
    *month = englishMonth(word.sliced(dash + 1, 3));
    *year = yearOf(word.sliced(dash + 5));
    return *month > 0 && *year > 0 && allDigits(word.first(dash));
}

// "12" or "12/16" blocks; -1 for neither.
qint64 blocksOf(QByteArrayView word)
{
    qsizetype used = 0;
    const qint64 blocks = numberOf(word, &used);
    if (blocks < 0 || (used < word.size() && (word[used] != '/' || !allDigits(word.sliced(used + 1))))) return -1;
    return blocks;
}

} // namespace

Outcome readVmsLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 2 || line.isEmpty() || isBlank(line[0])) return Outcome::Unreadable;
    const QByteArrayView name = textOf(line, tokens[0]);
    const qsizetype semicolon = name.lastIndexOf(';');
    if (semicolon <= 0 || !allDigits(name.sliced(semicolon + 1))) return Outcome::Unreadable;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    bool dated = false;
    char closing = 0;   // inside "[GROUP, OWNER]" or "(RWED, RE)" when they hold blanks
    for (int i = 1; i < count; ++i) {
        const QByteArrayView word = textOf(line, tokens[i]);
        if (closing) {
            if (word.contains(closing)) closing = 0;
        } else if (word.startsWith('[') || word.startsWith('(')) {
            const char close = word[0] == '[' ? ']' : ')';
            if (!word.contains(close)) closing = close;
        } else if (!dated && vmsDate(word, &year, &month, &day)) {
            dated = true;
            if (i + 1 < count && clockOf(textOf(line, tokens[i + 1]), &hour, &minute, &second)) ++i;
        } else if (read.entry.size < 0 && blocksOf(word) >= 0) {
            read.entry.size = blocksOf(word) * BlockBytes;
        }
    }
    if (!dated) return Outcome::Unreadable;
    read.entry.modified = timeOf(year, month, day, hour, minute, second);
    // Files keep their version, as commands name them; a folder is named without ".DIR;1".
    const QByteArrayView base = name.first(semicolon);
    if (base.size() > 4 && base.last(4).compare(".DIR", Qt::CaseInsensitive) == 0) {
        read.name = base.chopped(4);
        read.entry.kind = ParsedEntry::Kind::Folder;
        read.entry.size = -1;
    } else {
        read.name = name;
    }
    return Outcome::Entry;
}

bool isVmsNameAlone(QByteArrayView line)
{
    // one word from the line's start: blanks only at its end
    if (line.isEmpty() || isBlank(line[0]) || !(isDigit(line.back()) || isBlank(line.back()))) return false;
    const auto blank = std::find_if(line.begin(), line.end(), isBlank);
    if (!std::all_of(blank, line.end(), isBlank)) return false;
    const qsizetype semicolon = line.lastIndexOf(';');
    return semicolon > 0 && allDigits(line.sliced(semicolon + 1).trimmed());
}

} // namespace corvexo::ftp::listing
