#pragma once
// The remote listing between the transfer control's answer and ListView2:
// the text kept in the file "tm" and the lines read back from it.

#include "app/file_list_model.h"
#include "connection/transfer_facts.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace corvexo {

// The entry by which a remote folder is listed in its parent: "/pub/sub" gives "sub/";
// the root, or no path, gives "".
QString folderEntryOf(const QString &remotePath);

// The lines of a "tm" text as they are read back: CR LF or a lone CR ends a
// line, a lone LF is part of the name; the last line end closes the last line.
QStringList listingLines(const QString &tmText);
// The same reading one line at a time: the line from `pos` on, and `pos` moved
// past its line end; false once the text is used up.
bool nextListingLine(const QString &tmText, qsizetype &pos, QString &line);

// How much of text that arrives piece by piece can be read as lines now: up to
// the last line end whose whole end has arrived; everything once the last piece is in.
qsizetype wholeLinesLength(QByteArrayView text, bool lastPiece);

// The rows of the remote list: one per line of the listing text that names an
// entry (a blank line names none), with the size and time the control parsed
// for that name where it has them.
class RemoteListingRows {
public:
    explicit RemoteListingRows(QList<RemoteEntry> entries = {});
    // Adds the rows of the lines of text that ends at a line end (or ends the listing).
    void addLines(const QString &text);
    // Room for this many rows, so that a long listing is not moved in memory as it grows.
    void reserve(qsizetype rows) { rows_.reserve(rows); }
    QList<FileListEntry> takeRows() { return std::move(rows_); }

private:
    const RemoteEntry *entryFor(const QString &line);

    QList<RemoteEntry> entries_;
    qsizetype next_ = 0;                      // the entry that the next line is most likely to name
    QHash<QStringView, qsizetype> byName_;   // filled only when the lines and entries go out of step
    QList<FileListEntry> rows_;
};

} // namespace corvexo
