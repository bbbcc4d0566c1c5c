#include "ftp_listing_parser.h"

#include "ftp_listing_memory.h"

#include <QDateTime>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace corvexo::ftp {

namespace {

// A long listing's buffers grow in large steps once past a few megabytes: a
// block that large is mapped memory, which grows by remapping instead of by
// copying everything received so far while the window waits. Pages not
// written to take no memory.
template <typename Buffer>
void makeRoom(Buffer &buffer, qsizetype more)
{
    constexpr qsizetype LargeStepBytes = 64 * 1024 * 1024;
    constexpr qsizetype CopyingLimitBytes = 4 * 1024 * 1024;
    using Item = typename Buffer::value_type;
    const qsizetype wanted = buffer.size() + more;
    if (wanted <= buffer.capacity() || wanted * qsizetype(sizeof(Item)) < CopyingLimitBytes) return;
    buffer.reserve(qMax(2 * wanted, LargeStepBytes / qsizetype(sizeof(Item))));
}

enum class Outcome { Entry, Skip, Unreadable };

// What one line gave: the entry and views of its name and link target.
struct Read {
    ParsedEntry entry;
    QByteArrayView name;
    QByteArrayView target;
};

struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
};

constexpr int MaxTokens = 12;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

// Adds the line's words after the first count of them, up to wanted words in all.
int tokensOf(QByteArrayView line, Token *tokens, int count = 0, int wanted = MaxTokens)
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

QByteArrayView textOf(QByteArrayView line, Token token) { return line.sliced(token.begin, token.end - token.begin); }

bool allDigits(QByteArrayView word)
{
    if (word.isEmpty()) return false;
    for (char c : word)
        if (!isDigit(c)) return false;
    return true;
}

// The value of leading digits (at most 18 of them); -1 when there are none.
qint64 numberOf(QByteArrayView word, qsizetype *used = nullptr)
{
    qint64 value = 0;
    qsizetype i = 0;
    for (; i < word.size() && i < 18 && isDigit(word[i]); ++i) value = value * 10 + (word[i] - '0');
    if (used) *used = i;
    return i == 0 ? -1 : value;
}

// Digits followed only by bytes above ASCII: "3月", "14日", "2024年" in any of the
// Japanese (or Korean, Chinese) charsets; plain digits as well.
qint64 numberWithSuffix(QByteArrayView word, int maxDigits)
{
    qsizetype used = 0;
    const qint64 value = numberOf(word, &used);
    if (value < 0 || used > maxDigits) return -1;
    for (qsizetype i = used; i < word.size(); ++i)
        if (uchar(word[i]) < 0x80) return -1;
    return value;
}

int englishMonth(QByteArrayView word)
{
    static const char months[] = "janfebmaraprmayjunjulaugsepoctnovdec";
    if (word.size() != 3) return 0;
    const char key[3] = {lower(word[0]), lower(word[1]), lower(word[2])};
    for (int m = 0; m < 12; ++m)
        if (std::memcmp(months + 3 * m, key, 3) == 0) return m + 1;
    return 0;
}

// 1..12; 0 for a month word of another language ("Mär", "févr."); -1 for no month.
int monthOf(QByteArrayView word)
{
    if (const int m = englishMonth(word)) return m;
    const qint64 numbered = numberWithSuffix(word, 2);
    if (numbered >= 1 && numbered <= 12 && word.size() > 2) return int(numbered);
    if (word.size() < 3 || word.size() > 8 || isDigit(word[0])) return -1;
    for (char c : word)
        if (isDigit(c) || c == ':' || c == '-' || c == '/') return -1;
    return 0;
}

qint64 daysFromCivil(qint64 y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + qint64(doe) - 719468;
}

qint64 timeOf(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 || minute > 59
        || second < 0 || second > 60)
        return ParsedEntry::NoTime;
    return ((daysFromCivil(year, unsigned(month), unsigned(day)) * 24 + hour) * 60 + minute) * 60000LL
        + second * 1000LL;
}

// "12:30", "12:30:05", "12:30:05.123456789"
bool clockOf(QByteArrayView word, int *hour, int *minute, int *second)
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
bool dateOf(QByteArrayView word, char separator, char order, int *year, int *month, int *day)
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

Outcome parseMlsd(QByteArrayView line, Read &read)
{
    // Facts hold no blank, so the first blank starts the name, which is kept whole.
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0) return Outcome::Unreadable;
    read.name = line.sliced(blank + 1);
    QByteArrayView facts = line.first(blank);
    if (!facts.isEmpty() && !facts.contains('=')) return Outcome::Unreadable;
    while (!facts.isEmpty()) {
        qsizetype end = facts.indexOf(';');
        if (end < 0) end = facts.size();
        const QByteArrayView fact = facts.first(end);
        facts = facts.sliced(std::min(end + 1, facts.size()));
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0) continue;
        const QByteArrayView key = fact.first(equals), value = fact.sliced(equals + 1);
        if (key.compare("type", Qt::CaseInsensitive) == 0) {
            if (value.compare("cdir", Qt::CaseInsensitive) == 0 || value.compare("pdir", Qt::CaseInsensitive) == 0)
                return Outcome::Skip;
            if (value.compare("dir", Qt::CaseInsensitive) == 0) {
                read.entry.kind = ParsedEntry::Kind::Folder;
            } else if (value.compare("OS.unix=symlink", Qt::CaseInsensitive) == 0) {
                read.entry.kind = ParsedEntry::Kind::Link;
            } else if (value.size() > 15 && value.first(14).compare("OS.unix=slink:", Qt::CaseInsensitive) == 0) {
                read.entry.kind = ParsedEntry::Kind::Link;
                read.target = value.sliced(14);
            }
        } else if (key.compare("size", Qt::CaseInsensitive) == 0) {
            read.entry.size = allDigits(value) ? numberOf(value) : -1;
        } else if (key.compare("modify", Qt::CaseInsensitive) == 0 && value.size() >= 14) {
            auto part = [&](int from, int length) { return int(numberOf(value.sliced(from, length))); };
            if (allDigits(value.first(14))) {
                read.entry.modified = timeOf(part(0, 4), part(4, 2), part(6, 2), part(8, 2), part(10, 2), part(12, 2));
                read.entry.modifiedIsUtc = true;
            }
        }
    }
    return Outcome::Entry;
}

// "drwxr-xr-x 2 u g 4096 Jan  1 12:00 name", "-rw-r--r-- 1 u g 5 2024-02-14 10:30 name",
// "-rw-r--r-- 1 u g 5  3月 14 10:30 name", NetWare "d [RWCEAFMS] owner 512 Feb 14 10:30 name".
Outcome parseUnix(QByteArrayView line, Read &read, qint64 now, int currentYear)
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
        bool hasTime = false;
        if (dateOf(word, '-', 'I', &year, &month, &day)) {
            const QByteArrayView clock = textOf(line, tokens[i + 1]);
            if (!clockOf(clock, &hour, &minute, &second)) continue;
            int last = i + 1;
            // full-iso adds the zone ("+0900") after a clock with a fraction
            if (clock.contains('.') && last + 1 < count) {
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
                year = currentYear;
            } else {
                hour = minute = second = 0;
                year = int(numberWithSuffix(last, 4));
                if (year < 1900 || last.size() < 4) continue;
            }
            month = monthNumber;
            hasTime = monthNumber > 0;
            nameStart = tokens[i + 2].end + 1;
        }
        if (nameStart >= line.size()) return Outcome::Unreadable;
        read.entry.size = numberOf(sizeWord);
        if (hasTime) {
            read.entry.modified = timeOf(year, month, day, hour, minute, second);
            // a time without a year is within the last year, never more than a day ahead
            if (year == currentYear && read.entry.modified != ParsedEntry::NoTime
                && read.entry.modified > now + 86400000LL)
                read.entry.modified = timeOf(year - 1, month, day, hour, minute, second);
        }
        read.name = line.sliced(nameStart);
        const char type = lower(line[0]);
        read.entry.kind = type == 'd' ? ParsedEntry::Kind::Folder : ParsedEntry::Kind::File;
        if (type == 'l') {
            read.entry.kind = ParsedEntry::Kind::Link;
            const qsizetype arrow = read.name.indexOf(" -> ");
            if (arrow > 0) {
                read.target = read.name.sliced(arrow + 4);
                read.name = read.name.first(arrow);
            }
        }
        return Outcome::Entry;
    }
    return Outcome::Unreadable;
}

// "02-14-24  10:30PM  <DIR>  name", "2024-02-14  10:30  1234 name", "14.02.2024  10:30  <DIR>  name".
Outcome parseDos(QByteArrayView line, Read &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 4) return Outcome::Unreadable;
    const QByteArrayView date = textOf(line, tokens[0]);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!dateOf(date, '-', 'U', &year, &month, &day) && !dateOf(date, '/', 'U', &year, &month, &day)
        && !dateOf(date, '-', 'I', &year, &month, &day) && !dateOf(date, '/', 'I', &year, &month, &day)
        && !dateOf(date, '.', 'E', &year, &month, &day))
        return Outcome::Unreadable;
    QByteArrayView clock = textOf(line, tokens[1]);
    int field = 2;
    QByteArrayView half;
    if (clock.size() > 2 && (lower(clock.back()) == 'm')) {
        half = clock.last(2);
        clock.chop(2);
    } else if (textOf(line, tokens[2]).compare("AM", Qt::CaseInsensitive) == 0
               || textOf(line, tokens[2]).compare("PM", Qt::CaseInsensitive) == 0) {
        half = textOf(line, tokens[2]);
        field = 3;
    }
    if (!clockOf(clock, &hour, &minute, &second) || field + 1 >= count) return Outcome::Unreadable;
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

// "+i8388621.29609,m824255902,/,\tdev" and "+r,s1234,m824255902,\tfile.txt"
Outcome parseEplf(QByteArrayView line, Read &read)
{
    const qsizetype tab = line.indexOf('\t');
    if (tab < 1) return Outcome::Unreadable;
    QByteArrayView facts = line.sliced(1, tab - 1);
    read.name = line.sliced(tab + 1);
    while (!facts.isEmpty()) {
        qsizetype end = facts.indexOf(',');
        if (end < 0) end = facts.size();
        const QByteArrayView fact = facts.first(end);
        facts = facts.sliced(std::min(end + 1, facts.size()));
        if (fact == "/") read.entry.kind = ParsedEntry::Kind::Folder;
        else if (fact.size() > 1 && fact[0] == 's' && allDigits(fact.sliced(1))) read.entry.size = numberOf(fact.sliced(1));
        else if (fact.size() > 1 && fact[0] == 'm' && allDigits(fact.sliced(1))) {
            read.entry.modified = numberOf(fact.sliced(1)) * 1000;
            read.entry.modifiedIsUtc = true;
        }
    }
    return Outcome::Entry;
}

// "README.TXT;3   2/4   14-FEB-2024 10:30:00  [GROUP,OWNER]  (RWED,RWED,RE,)"; folders are "NAME.DIR;1".
Outcome parseVms(QByteArrayView line, Read &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 3) return Outcome::Unreadable;
    QByteArrayView name = textOf(line, tokens[0]);
    const qsizetype semicolon = name.lastIndexOf(';');
    if (semicolon <= 0 || !allDigits(name.sliced(semicolon + 1))) return Outcome::Unreadable;
    name = name.first(semicolon);
    int next = 1;
    const QByteArrayView blocks = textOf(line, tokens[1]);
    if (!blocks.isEmpty() && isDigit(blocks[0])) {
        read.entry.size = numberOf(blocks) * 512;
        next = 2;
    }
    const QByteArrayView date = textOf(line, tokens[next]);
    static const char *const months = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    const qsizetype dash = date.indexOf('-');
    if (dash < 1 || date.size() < dash + 6 || date[dash + 4] != '-') return Outcome::Unreadable;
    int month = 0;
    for (int m = 0; m < 12; ++m)
        if (date.sliced(dash + 1, 3).compare(QByteArrayView(months + 3 * m, 3), Qt::CaseInsensitive) == 0) month = m + 1;
    int hour = 0, minute = 0, second = 0;
    if (next + 1 < count) clockOf(textOf(line, tokens[next + 1]), &hour, &minute, &second);
    read.entry.modified = timeOf(int(numberOf(date.sliced(dash + 5))), month, int(numberOf(date)), hour, minute, second);
    if (name.size() > 4 && name.last(4).compare(".DIR", Qt::CaseInsensitive) == 0) {
        name.chop(4);
        read.entry.kind = ParsedEntry::Kind::Folder;
        read.entry.size = -1;
    }
    read.name = name;
    return Outcome::Entry;
}

bool isVmsNameAlone(QByteArrayView line)
{
    // one word from the line's start: blanks only at its end
    if (line.isEmpty() || isBlank(line[0])) return false;
    const auto blank = std::find_if(line.begin(), line.end(), isBlank);
    if (!std::all_of(blank, line.end(), isBlank)) return false;
    const qsizetype semicolon = line.lastIndexOf(';');
    return semicolon > 0 && allDigits(line.sliced(semicolon + 1).trimmed());
}

bool isListableName(QByteArrayView name)
{
    if (name.isEmpty() || name.size() > FtpListingParser::MaxNameBytes) return false;
    return !name.contains('/') && !name.contains('\r') && !name.contains('\n') && !name.contains('\0');
}

} // namespace

bool isListingDecoration(QByteArrayView line)
{
    line = line.trimmed();
    if (line.isEmpty()) return true;
    for (const char *opening : {"total ", "Directory ", "Total of ", "Grand total"})
        if (line.startsWith(QByteArrayView(opening)) || line.compare(QByteArrayView(opening).trimmed()) == 0)
            return true;
    return false;
}

FtpListingParser::FtpListingParser(ListingFormat format, qint64 now)
    : format_(format), now_(now ? now : QDateTime::currentMSecsSinceEpoch())
{
    currentYear_ = QDateTime::fromMSecsSinceEpoch(now_, Qt::UTC).date().year();
    // Reserved room is only address space until written to, and it spares a long
    // listing the copy (and the pages touched anew) at every doubling of its buffers.
    names_.reserve(ReservedNameBytes);
    entries_.reserve(ReservedEntries);
}

bool FtpListingParser::feed(QByteArrayView bytes)
{
    if (overflowed_) return false;
    while (!bytes.isEmpty()) {
        const char *end = static_cast<const char *>(std::memchr(bytes.data(), '\n', size_t(bytes.size())));
        if (!end) {
            // An unfinished line waits for the rest; a line longer than any entry's is skipped.
            if (!skippingLongLine_) partial_.append(bytes);
            if (partial_.size() > MaxLineBytes) {
                partial_.clear();
                if (!skippingLongLine_) ++unreadable_;
                skippingLongLine_ = true;
            }
            break;
        }
        const QByteArrayView piece = bytes.first(end - bytes.data());
        bytes = bytes.sliced(piece.size() + 1);
        if (skippingLongLine_) {
            skippingLongLine_ = false;
        } else if (partial_.isEmpty()) {
            takeLine(piece);
        } else {
            partial_.append(piece);
            takeLine(partial_);
            partial_.clear();
        }
        if (overflowed_) return false;
    }
    return true;
}

void FtpListingParser::finish()
{
    if (!partial_.isEmpty() && !skippingLongLine_) takeLine(partial_);
    partial_.clear();
    skippingLongLine_ = false;
    if (!vmsName_.isEmpty()) ++unreadable_;
    vmsName_.clear();
}

void FtpListingParser::takeLine(QByteArrayView line)
{
    if (line.endsWith('\r')) line.chop(1);
    if (line.size() > MaxLineBytes) {
        ++unreadable_;
        return;
    }
    if (!vmsName_.isEmpty()) {
        // A long VMS name stands alone on its line, and its fields follow on the next.
        QByteArray joined = std::exchange(vmsName_, {});
        if (!line.isEmpty() && isBlank(line[0])) {
            joined.append(line);
            return parseLine(joined);
        }
        ++unreadable_;
    }
    if (format_ == ListingFormat::List && isVmsNameAlone(line)) {
        vmsName_ = line.toByteArray();
        return;
    }
    parseLine(line);
}

void FtpListingParser::parseLine(QByteArrayView line)
{
    Read read;
    Outcome outcome = Outcome::Unreadable;
    if (format_ == ListingFormat::Mlsd) {
        outcome = line.trimmed().isEmpty() ? Outcome::Skip : parseMlsd(line, read);
    } else if (!line.isEmpty()) {
        const char first = line[0];
        if (first == '+') outcome = parseEplf(line, read);
        else if (isDigit(first)) outcome = parseDos(line, read);
        else outcome = parseUnix(line, read, now_, currentYear_);
        if (outcome == Outcome::Unreadable) {
            read = Read();
            outcome = parseVms(line, read);
        }
    }
    if (outcome == Outcome::Unreadable && format_ == ListingFormat::List && isListingDecoration(line))
        outcome = Outcome::Skip;
    if (outcome == Outcome::Skip) return;
    if (outcome == Outcome::Entry && (read.name == "." || read.name == "..")) return;
    if (outcome == Outcome::Unreadable || !isListableName(read.name) || read.target.size() > MaxNameBytes) {
        ++unreadable_;
        return;
    }
    if (entries_.size() >= MaxEntries || names_.size() >= MaxNameBufferBytes) {
        overflowed_ = true;
        return;
    }
    ParsedEntry &entry = read.entry;
    if (entry.kind == ParsedEntry::Kind::Link && read.target.endsWith('/')) entry.kind = ParsedEntry::Kind::Folder;
    hasLinks_ = hasLinks_ || entry.kind == ParsedEntry::Kind::Link;
    makeRoom(names_, read.name.size() + read.target.size());
    makeRoom(entries_, 1);
    if (names_.size() + read.name.size() + read.target.size() > namesMapped_)
        mapInAhead(names_.data(), names_.size() + read.name.size() + read.target.size(), names_.capacity(), &namesMapped_);
    const qsizetype entryBytes = qsizetype(sizeof(ParsedEntry));
    if ((entries_.size() + 1) * entryBytes > entriesMapped_)
        mapInAhead(entries_.data(), (entries_.size() + 1) * entryBytes, entries_.capacity() * entryBytes, &entriesMapped_);
    entry.nameOffset = quint32(names_.size());
    entry.nameLength = quint16(read.name.size());
    entry.targetLength = quint16(read.target.size());
    names_.resize(names_.size() + read.name.size() + read.target.size());
    char *const out = names_.data() + entry.nameOffset;
    std::memcpy(out, read.name.data(), size_t(read.name.size()));
    if (!read.target.isEmpty()) std::memcpy(out + read.name.size(), read.target.data(), size_t(read.target.size()));
    if (beyondAscii_.size() < CharsetSampleNames
        && std::any_of(read.name.begin(), read.name.end(), [](char c) { return uchar(c) >= 0x80; }))
        beyondAscii_.append(entries_.size());
    entries_.append(entry);
}

QList<QByteArrayView> FtpListingParser::namesBeyondAscii() const
{
    QList<QByteArrayView> sample;
    sample.reserve(beyondAscii_.size());
    for (qsizetype index : beyondAscii_) sample.append(name(entries_.at(index)));
    return sample;
}

void FtpListingParser::resolveLinksFromListing()
{
    if (!hasLinks_) return;
    QHash<QByteArrayView, ParsedEntry::Kind> kinds;
    for (const ParsedEntry &entry : std::as_const(entries_))
        if (entry.kind != ParsedEntry::Kind::Link) kinds.insert(name(entry), entry.kind);
    for (ParsedEntry &entry : entries_) {
        if (entry.kind != ParsedEntry::Kind::Link) continue;
        QByteArrayView to = target(entry);
        while (to.startsWith("./")) to = to.sliced(2);
        if (to.isEmpty() || to.contains('/')) continue;
        const auto found = kinds.constFind(to);
        if (found != kinds.constEnd()) entry.kind = *found;
    }
}

} // namespace corvexo::ftp
