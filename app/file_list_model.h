#pragma once
// The rows behind both file lists: each entry's text as listed (a remote
// folder keeps its trailing "/"), its picture number, and its size and
// modification time where they are known. Rows keep the order they were given
// until a column is chosen to sort by; every sorted order keeps "./" and "../"
// first, then folders, then files. A long list is sorted on a thread of its own
// and shown in its new order when that is done, so the window is not held.

#include <QAbstractTableModel>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QHash>
#include <QIcon>
#include <QList>
#include <QLocale>
#include <QPointer>
#include <QString>
#include <QThread>

#include <functional>

namespace corvexo {

struct FileListEntry {
    QString text;
    int image = 0;
    qint64 size = -1;     // -1: not known
    QDateTime modified;   // invalid: not known
};

enum FileListColumn : int { NameColumn, SizeColumn, ModifiedColumn, FileListColumnCount };

// How a size and a time read in the lists; empty when not known.
QString shortSizeText(qint64 size);                           // "512 B", "1.2 KB", "4.8 MB"
QString exactSizeText(qint64 size, const QLocale &locale);    // "1,234 bytes", for the tooltip
QString modifiedText(const QDateTime &time);   // "yyyy-MM-dd HH:mm", a UTC time in local time
// The column's short form: "MM-dd HH:mm" within the current year, "yyyy-MM-dd" before it.
QString compactModifiedText(const QDateTime &time, int currentYear);

// What the user made of a list's columns: widths of the size and time columns
// (0: the program's own) and the column sorted by (-1: the listing's order).
struct FileListLook {
    int sizeWidth = 0;
    int modifiedWidth = 0;
    int sortColumn = -1;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
    friend bool operator==(const FileListLook &, const FileListLook &) = default;
};

// The order of the entries (as indexes into them) sorted by a column: "./" and
// "../" first, then folders, then files, whatever the direction; equal keys
// keep the given order.
QList<int> sortedOrder(const QList<FileListEntry> &entries, int column, Qt::SortOrder order);

// Rows that take long to produce are made a slice at a time.
class FileListSource {
public:
    virtual ~FileListSource() = default;
    // Makes rows until all are made (true) or the deadline has passed (false).
    virtual bool work(const QDeadlineTimer &deadline) = 0;
    virtual QList<FileListEntry> takeRows() = 0;
};

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Lists longer than this are sorted, and let go of, away from the window's thread.
    static constexpr qsizetype LongListRows = 20'000;

    explicit FileListModel(QObject *parent = nullptr);
    ~FileListModel() override;

    // Where the pictures come from, by number.
    void setImageSource(std::function<QIcon(int)> source);

    // Replaces every row; a chosen sort is applied to the new rows.
    void setEntries(QList<FileListEntry> entries);
    void appendEntry(const FileListEntry &entry);
    // Replaces the row of the same text, or inserts the entry where the chosen sort puts it.
    void putEntry(const FileListEntry &entry);
    void clear();
    const FileListEntry &entry(int row) const { return rows_.at(row); }
    int rowOf(const QString &text) const;  // -1 when no row has this text
    int sortColumn() const { return sortColumn_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order) override;

    bool sorting() const { return sorter_ != nullptr; }

signals:
    void sortApplied();   // a long list's sort, run on its own thread, is shown

private:
    QIcon iconFor(int image) const;
    void sortLongList();
    int sortedPlace(const FileListEntry &entry, int skip) const;
    void applyOrder(const QList<int> &sortedRows);
    void replaceRows(QList<FileListEntry> rows);

    QList<FileListEntry> rows_;
    quint64 rowsGeneration_ = 0;   // changes with every change of the rows, so a late sort is dropped
    QPointer<QThread> sorter_;
    int sortColumn_ = -1;  // -1: the order the rows were given in
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    std::function<QIcon(int)> imageSource_;
    mutable QHash<int, QIcon> icons_;
    QLocale locale_;
};

} // namespace corvexo
