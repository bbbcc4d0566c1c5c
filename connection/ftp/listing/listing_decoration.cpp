// Lines around the entries: ls's "total 12" in English and in the Japanese,
// Korean and Chinese locales (in UTF-8 or their legacy charsets), and the
// headers and footers of VMS, z/OS and others.

#include "listing_families.h"
#include "listing_words.h"

namespace corvexo::ftp::listing {

namespace {

// "total" of ls in other locales, in each charset those locales use.
const char *const LocalTotals[] = {
    "\xe5\x90\x88\xe8\xa8\x88", "\xb9\xe7\xb7\xd7", "\x8d\x87\x8c\x76",   // 合計: UTF-8, EUC-JP, Shift_JIS
    "\xed\x95\xa9\xea\xb3\x84", "\xc7\xd5\xb0\xe8",                       // 합계: UTF-8, EUC-KR
    "\xe6\x80\xbb\xe7\x94\xa8\xe9\x87\x8f", "\xd7\xdc\xd3\xc3\xc1\xbf",   // 总用量: UTF-8, GBK
    "\xe7\xb8\xbd\xe7\x94\xa8\xe9\x87\x8f", "\xc1\x60\xa5\xce\xb6\x71",   // 總用量: UTF-8, Big5
};

bool isLocalTotal(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank <= 0) return false;
    const QByteArrayView word = line.first(blank), rest = line.sliced(blank + 1).trimmed();
    if (rest.isEmpty() || !isDigit(rest[0])) return false;
    for (const char *total : LocalTotals)
        if (word == QByteArrayView(total)) return true;
    return false;
}

} // namespace

bool isListingDecoration(QByteArrayView line)
{
    line = line.trimmed();
    if (line.isEmpty()) return true;
    for (const char *opening : {"total ", "Directory ", "Total of ", "Grand total"})
        if (line.startsWith(QByteArrayView(opening)) || line.compare(QByteArrayView(opening).trimmed()) == 0)
            return true;
    return uchar(line[0]) >= 0x80 && isLocalTotal(line);
}

} // namespace corvexo::ftp::listing
