#pragma once
// The order of a listing as people read it: folders first, then files, each
// by name without regard to case, with runs of digits compared by value
// ("file2" before "file10"). Names that begin outside ASCII (Japanese, for
// one) follow the others and are ordered by the Japanese collation, which puts
// kana in reading order.

#include <QByteArrayView>
#include <QList>
#include <functional>

namespace corvexo::ftp {

struct OrderedName {
    QByteArrayView utf8;
    bool isFolder = false;
};

// <0, 0 or >0; 0 only for equal bytes.
int naturalCompare(QByteArrayView a, QByteArrayView b);

// Indexes into names in the order to show them.
QList<qsizetype> listingOrder(const QList<OrderedName> &names);
// The same for the names nameAt(0) to nameAt(count - 1), read as needed:
// a long listing is spared a list of them.
using NameAt = std::function<OrderedName(qsizetype)>;
QList<qsizetype> listingOrder(qsizetype count, const NameAt &nameAt);

} // namespace corvexo::ftp
