#include "ftp_listing_order.h"

#include "ftp_listing_memory.h"

#include <QCollator>
#include <algorithm>
#include <array>
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

namespace {

// A name rewritten so that comparing the bytes gives naturalCompare's order up to its
// last tie-breaks: letters folded, each digit run as '0' (it meets other bytes as a digit
// would), its length without leading zeros plus one, then those digits. A run too long
// for its length byte ends the key; names with equal keys are compared by naturalCompare.
// Writes at most limit bytes; returns how many.
qsizetype keyOf(QByteArrayView name, uchar *out, qsizetype limit)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < name.size() && n < limit;) {
        if (!isDigit(name[i])) {
            out[n++] = folded(name[i++]);
            continue;
        }
        while (i < name.size() && name[i] == '0') ++i;
        qsizetype end = i;
        while (end < name.size() && isDigit(name[end])) ++end;
        out[n++] = '0';
        if (n == limit) break;
        if (end - i >= 0xFF - 1) {
            out[n++] = 0xFF;
            break;
        }
        out[n++] = uchar(end - i + 1);
        for (; i < end && n < limit; ++i) out[n++] = uchar(name[i]);
        i = end;
    }
    return n;
}

constexpr qsizetype MaxKeyDepth = 512;   // deeper ties are rare: naturalCompare settles them

struct Keyed {
    quint64 window = 0;   // eight key bytes from the depth being sorted, as a number
    quint32 index = 0;    // a listing holds far fewer names; sixteen bytes keep the array small
    bool endsInWindow = false;
};

// Sorts by key windows: where the keys share a start it is skipped, then every name gets
// the next eight key bytes as one number, and only names whose numbers tie go deeper.
// Each comparison is then between numbers in one array, not between two names.
void sortKeyed(const NameAt &nameAt, Keyed *begin, Keyed *end, qsizetype depth)
{
    if (end - begin < 2) return;
    uchar first[MaxKeyDepth + 9], other[MaxKeyDepth + 9];
    const auto fallback = [&] {
        std::sort(begin, end, [&](const Keyed &x, const Keyed &y) {
            return naturalCompare(nameAt(x.index).utf8, nameAt(y.index).utf8) < 0;
        });
    };
    if (depth >= MaxKeyDepth) return fallback();
    const qsizetype firstLength = keyOf(nameAt(begin->index).utf8, first, MaxKeyDepth);
    qsizetype common = firstLength;
    for (Keyed *k = begin + 1; k != end && common > depth; ++k) {
        const qsizetype length = keyOf(nameAt(k->index).utf8, other, common);
        common = std::mismatch(first + depth, first + length, other + depth).first - first;
    }
    depth = common;
    if (depth >= MaxKeyDepth) return fallback();
    for (Keyed *k = begin; k != end; ++k) {
        const qsizetype length = keyOf(nameAt(k->index).utf8, other, depth + 9);
        quint64 window = 0;
        for (qsizetype b = depth; b < depth + 8; ++b) window = (window << 8) | (b < length ? other[b] : 0);
        k->window = window;
        k->endsInWindow = length <= depth + 8;
    }
    std::sort(begin, end, [](const Keyed &x, const Keyed &y) { return x.window < y.window; });
    for (Keyed *run = begin; run != end;) {
        Keyed *runEnd = run + 1;
        bool ends = run->endsInWindow;
        for (; runEnd != end && runEnd->window == run->window; ++runEnd) ends = ends || runEnd->endsInWindow;
        if (runEnd - run > 1) {
            if (ends) std::sort(run, runEnd, [&](const Keyed &x, const Keyed &y) {
                return naturalCompare(nameAt(x.index).utf8, nameAt(y.index).utf8) < 0;
            });
            else sortKeyed(nameAt, run, runEnd, depth + 8);
        }
        run = runEnd;
    }
}

void sortNaturally(const NameAt &nameAt, qsizetype *begin, qsizetype *end)
{
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(end - begin));
    mapInForWriting(keyed.data(), qsizetype(keyed.capacity() * sizeof(Keyed)));
    keyed.resize(size_t(end - begin));
    for (size_t i = 0; i < keyed.size(); ++i) keyed[i].index = quint32(begin[i]);
    sortKeyed(nameAt, keyed.data(), keyed.data() + keyed.size(), 0);
    for (size_t i = 0; i < keyed.size(); ++i) begin[i] = keyed[i].index;
}

// Collation is slow, so only names that need it get a sort key.
void sortCollated(const NameAt &nameAt, qsizetype *begin, qsizetype *end)
{
    if (end - begin < 2) return;
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keyed;
    keyed.reserve(size_t(end - begin));
    for (const qsizetype *i = begin; i != end; ++i)
        keyed.emplace_back(collator.sortKey(QString::fromUtf8(nameAt(*i).utf8)), *i);
    std::sort(keyed.begin(), keyed.end(), [&](const auto &x, const auto &y) {
        const int byKey = x.first.compare(y.first);
        if (byKey != 0) return byKey < 0;
        return nameAt(x.second).utf8.compare(nameAt(y.second).utf8) < 0;
    });
    for (size_t i = 0; i < keyed.size(); ++i) begin[i] = keyed[i].second;
}

} // namespace

QList<qsizetype> listingOrder(qsizetype count, const NameAt &nameAt)
{
    // Folders before files; in each, names that begin in ASCII before the collated ones.
    std::vector<quint8> groups(static_cast<size_t>(count));
    std::array<qsizetype, 5> bounds{};
    for (qsizetype i = 0; i < count; ++i) {
        const OrderedName name = nameAt(i);
        groups[size_t(i)] = quint8((name.isFolder ? 0 : 2) + (startsOutsideAscii(name.utf8) ? 1 : 0));
        ++bounds[groups[size_t(i)] + 1];
    }
    for (size_t g = 1; g < bounds.size(); ++g) bounds[g] += bounds[g - 1];
    QList<qsizetype> order;
    order.reserve(count);
    mapInForWriting(order.data(), count * qsizetype(sizeof(qsizetype)));
    order.resize(count);
    std::array<qsizetype, 4> next{bounds[0], bounds[1], bounds[2], bounds[3]};
    for (qsizetype i = 0; i < count; ++i) order[next[groups[size_t(i)]]++] = i;

    for (size_t g = 0; g < 4; ++g) {
        qsizetype *begin = order.data() + bounds[g], *end = order.data() + bounds[g + 1];
        if (g % 2 == 0) sortNaturally(nameAt, begin, end);
        else sortCollated(nameAt, begin, end);
    }
    return order;
}

QList<qsizetype> listingOrder(const QList<OrderedName> &names)
{
    return listingOrder(names.size(), [&names](qsizetype i) { return names[i]; });
}

} // namespace corvexo::ftp
