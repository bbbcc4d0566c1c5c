#include "file_list_model.h"

#include "file_list_messages.h"
#include "progress_texts.h"
#include "strings/string_table.h"
#include "local/file_icons.h"

#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace corvexo {

namespace {

// "./" and "../" first, then folders, then files.
int rank(const QString &text)
{
    if (text == u"../" || text == u"./") return 0;
    return text.endsWith(u'/') ? 1 : 2;
}

// A folder's size says nothing of its content and is not shown, so folders keep their order.
qint64 sizeKey(const FileListEntry &entry)
{
    return entry.text.endsWith(u'/') ? -1 : entry.size;
}

qint64 timeKey(const QDateTime &time)
{
    return time.isValid() ? time.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
}

bool keyLess(const FileListEntry &x, const FileListEntry &y, int column)
{
    switch (column) {
    case SizeColumn: return sizeKey(x) < sizeKey(y);
    case ModifiedColumn: return timeKey(x.modified) < timeKey(y.modified);
    default: return x.text.compare(y.text, Qt::CaseInsensitive) < 0;
    }
}

QDateTime shownTime(const QDateTime &time)
{
    // Times the server gives in UTC are shown in the user's own zone; others
    // (a local file's, or a server's clock as its listing wrote it) as they are.
    return time.timeSpec() == Qt::UTC ? time.toLocalTime() : time;
}

} // namespace

QString shortSizeText(qint64 size)
{
    if (size < 0) return {};
    return size < 1024 ? QString::number(size) + QStringLiteral(" B") : sizeText(size);
}

QString exactSizeText(qint64 size, const QLocale &locale)
{
    if (size < 0) return {};
    const bool japanese = uiLanguage() == UiLanguage::Japanese;
    return locale.toString(size) + (japanese ? QStringLiteral(" バイト") : QStringLiteral(" bytes"));
}

QString compactModifiedText(const QDateTime &time, int currentYear)
{
    if (!time.isValid()) return {};
    const QDateTime shown = shownTime(time);
    return shown.toString(shown.date().year() == currentYear ? QStringLiteral("MM-dd HH:mm")
                                                              : QStringLiteral("yyyy-MM-dd"));
}

QString modifiedText(const QDateTime &time)
{
    if (!time.isValid()) return {};
    return shownTime(time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QList<int> sortedOrder(const QList<FileListEntry> &entries, int column, Qt::SortOrder order)
{
    const qsizetype count = entries.size();
    QList<int> ranks(count);
    QList<int> result(count);
    for (qsizetype i = 0; i < count; ++i) {
        ranks[i] = rank(entries.at(i).text);
        result[i] = int(i);
    }
    const bool descending = order == Qt::DescendingOrder;
    std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
        if (ranks[a] != ranks[b]) return ranks[a] < ranks[b];
        return descending ? keyLess(entries.at(b), entries.at(a), column)
                          : keyLess(entries.at(a), entries.at(b), column);
    });
    return result;
}

FileListModel::FileListModel(QObject *parent) : QAbstractTableModel(parent) {}

// A sort still running reads the rows it was given; it is waited for, not left behind.
FileListModel::~FileListModel()
{
    for (QThread *sorter : findChildren<QThread *>(Qt::FindDirectChildrenOnly)) sorter->wait();
}

void FileListModel::setImageSource(std::function<QIcon(int)> source)
{
    imageSource_ = std::move(source);
    icons_.clear();
}

void FileListModel::setEntries(QList<FileListEntry> entries)
{
    const bool sortAtOnce = sortColumn_ >= 0 && entries.size() > 1 && entries.size() <= LongListRows;
    if (sortAtOnce) {
        const QList<int> order = sortedOrder(entries, sortColumn_, sortOrder_);
        QList<FileListEntry> sorted;
        sorted.reserve(entries.size());
        for (int from : order) sorted.append(std::move(entries[from]));
        entries = std::move(sorted);
    }
    beginResetModel();
    replaceRows(std::move(entries));
    endResetModel();
    // A long list is shown in the order it came until its sort is done.
    if (sortColumn_ >= 0 && rows_.size() > LongListRows) sortLongList();
}

void FileListModel::replaceRows(QList<FileListEntry> rows)
{
    ++rowsGeneration_;
    std::swap(rows_, rows);
    // Letting go of a million rows takes a while: a pool thread does it.
    if (rows.size() > LongListRows && rows.isDetached())
        QThreadPool::globalInstance()->start([old = std::make_shared<QList<FileListEntry>>(std::move(rows))]() mutable {
            old.reset();
        });
}

void FileListModel::appendEntry(const FileListEntry &entry)
{
    const int row = int(rows_.size());
    beginInsertRows({}, row, row);
    ++rowsGeneration_;
    rows_.append(entry);
    endInsertRows();
}

void FileListModel::putEntry(const FileListEntry &entry)
{
    ++rowsGeneration_;
    if (const int row = rowOf(entry.text); row >= 0) {
        rows_[row] = entry;
        emit dataChanged(index(row, 0), index(row, FileListColumnCount - 1));
        // A changed size or time may move it in a list sorted by size or time.
        const int place = sortedPlace(entry, row);
        const int before = place >= row ? place + 1 : place;
        if (before != row && before != row + 1 && beginMoveRows({}, row, row, {}, before)) {
            rows_.move(row, place);
            endMoveRows();
        }
        return;
    }
    const int at = sortedPlace(entry, -1);
    beginInsertRows({}, at, at);
    rows_.insert(at, entry);
    endInsertRows();
}

// Where the entry belongs among the rows other than `skip`: after every row the
// chosen sort puts before it or beside it; at the end while the listing's own order is kept.
int FileListModel::sortedPlace(const FileListEntry &entry, int skip) const
{
    int place = 0;
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    for (qsizetype row = 0; row < rows_.size(); ++row) {
        if (row == skip) continue;
        const FileListEntry &other = rows_.at(row);
        const bool otherFirst = sortColumn_ < 0 || rank(other.text) < rank(entry.text)
            || (rank(other.text) == rank(entry.text)
                && !(descending ? keyLess(other, entry, sortColumn_) : keyLess(entry, other, sortColumn_)));
        if (otherFirst) ++place;
    }
    return place;
}

void FileListModel::clear()
{
    setEntries({});
}

int FileListModel::rowOf(const QString &text) const
{
    for (qsizetype row = 0; row < rows_.size(); ++row)
        if (rows_.at(row).text == text) return int(row);
    return -1;
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : FileListColumnCount;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    const FileListEntry &row = rows_.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NameColumn: return row.text;
        case SizeColumn: return row.text.endsWith(u'/') ? QString() : shortSizeText(row.size);
        case ModifiedColumn: return compactModifiedText(row.modified, QDate::currentDate().year());
        }
        break;
    case Qt::ToolTipRole:
        if (index.column() == SizeColumn && !row.text.endsWith(u'/')) return exactSizeText(row.size, locale_);
        if (index.column() == ModifiedColumn) return modifiedText(row.modified);
        break;
    case Qt::DecorationRole:
        if (index.column() == NameColumn) return iconFor(row.image);
        break;
    case Qt::TextAlignmentRole:
        if (index.column() == SizeColumn) return int(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case kImageNumberRole:
        return row.image;
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return columnTitle(section);
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole && section == SizeColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid()) return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemNeverHasChildren;
}

void FileListModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    sortOrder_ = order;
    if (rows_.size() > LongListRows) return sortLongList();
    ++rowsGeneration_;   // a long sort still running is for rows that are gone
    if (rows_.size() >= 2) applyOrder(sortedOrder(rows_, column, order));
}

void FileListModel::sortLongList()
{
    // The thread sorts a shared copy of the rows; the window's rows are not touched until the end.
    auto order = std::make_shared<QList<int>>();
    QThread *sorter = QThread::create([order, rows = rows_, column = sortColumn_, direction = sortOrder_]() mutable {
        *order = sortedOrder(rows, column, direction);
        rows = {};   // rows let go of meanwhile are freed here, not on the window's thread
    });
    sorter->setParent(this);
    const quint64 generation = ++rowsGeneration_;
    connect(sorter, &QThread::finished, this, [this, sorter, order, generation] {
        sorter->deleteLater();
        if (sorter_ == sorter) sorter_ = nullptr;
        if (generation != rowsGeneration_) return;   // the rows or the wanted order changed meanwhile
        applyOrder(*order);
        emit sortApplied();
    });
    sorter_ = sorter;
    sorter->start();
}

void FileListModel::applyOrder(const QList<int> &sortedRows)
{
    ++rowsGeneration_;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QList<int> newRowOf(rows_.size());
    QList<FileListEntry> sorted;
    sorted.reserve(rows_.size());
    for (qsizetype to = 0; to < sortedRows.size(); ++to) {
        newRowOf[sortedRows[to]] = int(to);
        sorted.append(std::move(rows_[sortedRows[to]]));
    }
    rows_ = std::move(sorted);
    // The current and selected entries stay the same entries in their new places.
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &index : from) to.append(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

QIcon FileListModel::iconFor(int image) const
{
    if (!imageSource_) return {};
    auto found = icons_.constFind(image);
    if (found == icons_.constEnd()) found = icons_.insert(image, imageSource_(image));
    return *found;
}

} // namespace corvexo
