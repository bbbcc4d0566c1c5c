// IBM z/OS (MVS) FTP servers listing data sets and the members of a
// partitioned data set. Partitioned data sets (PO, PO-E) are folders.
// "WRK001 3390   2023/10/12  1   15  FB      80  6160  PS  PAY.JAN.DATA"
// "PAYROLL   01.03 2002/03/19 2023/10/12 10:48    13    13     0 CLERK"

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

bool isDataSetOrganisation(QByteArrayView word)
{
    for (const char *known : {"PS", "PO", "PO-E", "DA", "IS", "VS", "VSAM", "U", "GDG"})
        if (word == QByteArrayView(known)) return true;
    return false;
}

// A data set name as listed, quotes removed: "'PAY.JAN'" is PAY.JAN.
QByteArrayView dataSetName(QByteArrayView word)
{
    if (word.size() > 2 && word.front() == '\'' && word.back() == '\'') return word.sliced(1, word.size() - 2);
    return word;
}

bool lineHas(QByteArrayView line, const char *words) { return line.indexOf(QByteArrayView(words)) >= 0; }

} // namespace

Outcome readMvsDataSetLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 2) return Outcome::Unreadable;
    const QByteArrayView first = textOf(line, tokens[0]), last = textOf(line, tokens[count - 1]);
    if (first == "Volume" && last == "Dsname") return Outcome::Skip;
    // Data sets on tape or moved away by HSM have no facts beyond their name.
    if ((count == 2 && first == "Migrated") || lineHas(line, "Not Direct Access Device")
        || lineHas(line, "Error determining attributes")) {
        read.name = dataSetName(last);
        return Outcome::Entry;
    }
    if (count == 3 && first == "Pseudo" && textOf(line, tokens[1]) == "Directory") {
        read.name = dataSetName(last);
        read.entry.kind = ParsedEntry::Kind::Folder;
        return Outcome::Entry;
    }
    if (count < 5 || !isDataSetOrganisation(textOf(line, tokens[count - 2]))) return Outcome::Unreadable;
    // Some releases list no Unit column, and older ones write the date as 07/16/97.
    bool dated = false;
    for (int at : {2, 1}) {
        int year = 0, month = 0, day = 0;
        const QByteArrayView referred = textOf(line, tokens[at]);
        if (dateOf(referred, '/', 'I', &year, &month, &day) || dateOf(referred, '/', 'U', &year, &month, &day))
            read.entry.modified = timeOf(year, month, day);
        dated = read.entry.modified != ParsedEntry::NoTime || referred == "**NONE**";
        if (dated) break;
    }
    if (!dated) return Outcome::Unreadable;
    read.name = dataSetName(last);
    if (textOf(line, tokens[count - 2]).startsWith("PO")) read.entry.kind = ParsedEntry::Kind::Folder;
    return Outcome::Entry;
}

Outcome readMvsMemberLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    Token tokens[MaxTokens];
    const int count = tokensOf(line, tokens);
    if (count < 3) return Outcome::Unreadable;
    const QByteArrayView second = textOf(line, tokens[1]);
    if (textOf(line, tokens[0]) == "Name" && (second == "VV.MM" || second == "Size")) return Outcome::Skip;
    read.name = textOf(line, tokens[0]);
    // Source members: "Name VV.MM Created Changed Size Init Mod Id"; Size counts records, not bytes.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second_ = 0;
    if (count >= 6 && second.size() == 5 && second[2] == '.' && allDigits(second.first(2)) && allDigits(second.sliced(3))) {
        if (!dateOf(textOf(line, tokens[2]), '/', 'I', &year, &month, &day)
            || !dateOf(textOf(line, tokens[3]), '/', 'I', &year, &month, &day)
            || !clockOf(textOf(line, tokens[4]), &hour, &minute, &second_))
            return Outcome::Unreadable;
        read.entry.modified = timeOf(year, month, day, hour, minute, second_);
        return Outcome::Entry;
    }
    // Load modules: "Name Size TTR Alias-of AC Attributes Amode Rmode", the size in hex bytes.
    const QByteArrayView size = second, ttr = textOf(line, tokens[2]);
    auto isHex = [](QByteArrayView word) {
        return word.size() == 6 && std::all_of(word.begin(), word.end(), [](char c) { return std::isxdigit(uchar(c)); });
    };
    if (!isHex(size) || !isHex(ttr)) return Outcome::Unreadable;
    read.entry.size = size.toLongLong(nullptr, 16);
    return Outcome::Entry;
}

Outcome readMvsBareMemberLine(QByteArrayView line, const LineClock &, LineRead &read)
{
    const QByteArrayView name = line.trimmed();
    auto nameByte = [](char c) { return (c >= 'A' && c <= 'Z') || isDigit(c) || c == '@' || c == '#' || c == '$'; };
    if (name.isEmpty() || name.size() > 8 || isDigit(name[0]) || !std::all_of(name.begin(), name.end(), nameByte))
        return Outcome::Unreadable;
    read.name = name;
    return Outcome::Entry;
}

} // namespace corvexo::ftp::listing
