#include "ftp_listing_order.h"

#include <QCollator>
#include <algorithm>
#include <optional>
#include <vector>

namespace corvexo::ftp {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
uchar folded(char c) { return uchar(c >= 'A' && c <= 'Z' ? c + 32 : c); }

bool startsOutsideAscii(QByteArrayView name) { return !name.isEmpty() && uchar(name[0]) >= 0x80; }

} // namespace

int naturalCompare(QByteArrayView a, QByteArrayView b)
{
    // Up to the first differing byte the names are the same, whatever the rules;
    // start there, or at the digit run that byte belongs to.
    const qsizetype common = std::mismatch(a.begin(), a.begin() + std::min(a.size(), b.size()), b.begin()).first - a.begin();
    if (common < a.size() && common < b.size()) {
        const char x = a[common], y = b[common];
        if (isDigit(x) && isDigit(y)) {
            // Digit runs of the same length compare by their first differing digit.
            qsizetype ea = common, eb = common;
            while (ea < a.size() && isDigit(a[ea])) ++ea;
            while (eb < b.size() && isDigit(b[eb])) ++eb;
            if (ea == eb) return x < y ? -1 : 1;
        } else if (!isDigit(x) && !isDigit(y) && (common == 0 || !isDigit(a[common - 1]))
                   && folded(x) != folded(y)) {
            return folded(x) < folded(y) ? -1 : 1;
        }
    }
    qsizetype start = common;
    while (start > 0 && isDigit(a[start - 1])) --start;
    qsizetype i = start, j = start;
    int zeros = 0;   // more leading zeros sort later, when all else is equal
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            qsizetype za = i, zb = j;
            while (za < a.size() && a[za] == '0') ++za;
            while (zb < b.size() && b[zb] == '0') ++zb;
            qsizetype ea = za, eb = zb;
            while (ea < a.size() && isDigit(a[ea])) ++ea;
            while (eb < b.size() && isDigit(b[eb])) ++eb;
            if (ea - za != eb - zb) return ea - za < eb - zb ? -1 : 1;
            for (qsizetype k = 0; k < ea - za; ++k)
                if (a[za + k] != b[zb + k]) return a[za + k] < b[zb + k] ? -1 : 1;
            if (!zeros && (za - i) != (zb - j)) zeros = (za - i) < (zb - j) ? -1 : 1;
            i = ea;
            j = eb;
            continue;
        }
        const uchar ca = folded(a[i]), cb = folded(b[j]);
        if (ca != cb) return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    if (zeros) return zeros;
    return a.compare(b);
}

QList<qsizetype> listingOrder(const QList<OrderedName> &names)
{
    QList<qsizetype> order(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) order[i] = i;

    // Collation is slow, so only names that need it get a sort key.
    std::vector<std::optional<QCollatorSortKey>> keys;
    std::optional<QCollator> collator;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!startsOutsideAscii(names[i].utf8)) continue;
        if (!collator) {
            collator.emplace(QLocale(QLocale::Japanese, QLocale::Japan));
            collator->setCaseSensitivity(Qt::CaseInsensitive);
            collator->setNumericMode(true);
            keys.resize(size_t(names.size()));
        }
        keys[size_t(i)] = collator->sortKey(QString::fromUtf8(names[i].utf8));
    }

    std::sort(order.begin(), order.end(), [&](qsizetype x, qsizetype y) {
        const OrderedName &a = names[x], &b = names[y];
        if (a.isFolder != b.isFolder) return a.isFolder;
        const bool ca = startsOutsideAscii(a.utf8), cb = startsOutsideAscii(b.utf8);
        if (ca != cb) return cb;
        if (ca) {
            const int byKey = keys[size_t(x)]->compare(*keys[size_t(y)]);
            if (byKey != 0) return byKey < 0;
            return a.utf8.compare(b.utf8) < 0;
        }
        return naturalCompare(a.utf8, b.utf8) < 0;
    });
    return order;
}

} // namespace corvexo::ftp
