#pragma once
// What a drop on a file list carries: entries dragged from one of this
// program's own lists, files and folders from the desktop's file manager
// (text/uri-list), addresses that are not local files, or something else.
// Reading it decides nothing: the window chooses what a drop does.

#include <QMetaType>
#include <QString>
#include <QStringList>

class QByteArray;
class QMimeData;

namespace corvexo {

enum class ListSide { Local, Remote };

struct DropContents {
    enum class Kind {
        Other,        // not ours and no addresses: the drop means the other list's current entry
        ListEntries,  // entries dragged from one of this program's lists
        LocalFiles,   // local paths from the desktop
        NotFiles,     // at least one address is not a local file: nothing may happen
    };
    Kind kind = Kind::Other;
    ListSide side = ListSide::Local;  // the list the entries come from
    QStringList entries;              // as listed, top to bottom
    QStringList paths;                // absolute local paths, in the dropped order
    QString refused;                  // the first address that is not a local file
};

// The format of a drag out of one of this program's lists.
QString listDragFormat();
// Builds the data a list's own drag carries; the caller owns it.
QMimeData *makeListDragData(ListSide side, const QStringList &entries);

// Reads a text/uri-list: comments and blank lines skipped, file URLs turned into
// local paths with their percent-encoding undone, anything else refused.
struct UriListReading {
    QStringList paths;
    QString refused;   // empty when every address was a local file
};
UriListReading readUriList(const QByteArray &uriList);

DropContents readDrop(const QMimeData &data);

} // namespace corvexo

Q_DECLARE_METATYPE(corvexo::DropContents)
