#pragma once
// Dates of the Japanese, Chinese and Korean locales, where each number carries
// its mark ("2003年 4月 18日", "2003年4月18日", "4月18日", "10월 14일 2003년"),
// in UTF-8 or the legacy charset the server writes: Shift_JIS, EUC-JP, GBK,
// Big5 or EUC-KR. The marks' bytes and the names' charset may differ.

#include <QByteArrayView>

namespace corvexo::ftp::listing {

struct MarkedDate {
    int year = 0;   // 0 when the date has none: a clock or a plain year may follow
    int month = 0;
    int day = 0;
};

// The date that starts at words[0]: year, month and day, or month, day and year,
// or month and day; the words it takes, 0 for none.
int markedDateAt(const QByteArrayView *words, int available, MarkedDate &date);

} // namespace corvexo::ftp::listing
