#include "file_list_model.h"

#include "file_list_messages.h"
#include "local/file_icons.h"

#include <algorithm>

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

} // namespace

QString sizeText(qint64 size, const QLocale &locale)
{
    return size < 0 ? QString() : locale.toString(size);
}

QString modifiedText(const QDateTime &time)
{
    if (!time.isValid()) return {};
    // Times the server gives in UTC are shown in the user's own zone; others
    // (a local file's, or a server's clock as its listing wrote it) as they are.
    const QDateTime shown = time.timeSpec() == Qt::UTC ? time.toLocalTime() : time;
    return shown.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
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
    auto keyLess = [&](int a, int b) {
        const FileListEntry &x = entries.at(a), &y = entries.at(b);
        switch (column) {
        case SizeColumn: return sizeKey(x) < sizeKey(y);
        case ModifiedColumn: return timeKey(x.modified) < timeKey(y.modified);
        default: return x.text.compare(y.text, Qt::CaseInsensitive) < 0;
        }
    };
    std::stable_sort(result.begin(), result.end(), [&](int a, int b) {
        if (ranks[a] != ranks[b]) return ranks[a] < ranks[b];
        return descending ? keyLess(b, a) : keyLess(a, b);
    });
    return result;
}

FileListModel::FileListModel(QObject *parent) : QAbstractTableModel(parent) {}

void FileListModel::setImageSource(std::function<QIcon(int)> source)
{
    imageSource_ = std::move(source);
    icons_.clear();
}

void FileListModel::setEntries(QList<FileListEntry> entries)
{
    beginResetModel();
    rows_ = std::move(entries);
    if (sortColumn_ >= 0 && rows_.size() > 1) {
        const QList<int> order = sortedOrder(rows_, sortColumn_, sortOrder_);
        QList<FileListEntry> sorted;
        sorted.reserve(rows_.size());
        for (int from : order) sorted.append(std::move(rows_[from]));
        rows_ = std::move(sorted);
    }
    endResetModel();
}

void FileListModel::appendEntry(const FileListEntry &entry)
{
    const int row = int(rows_.size());
    beginInsertRows({}, row, row);
    rows_.append(entry);
    endInsertRows();
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
        case SizeColumn: return row.text.endsWith(u'/') ? QString() : sizeText(row.size, locale_);
        case ModifiedColumn: return modifiedText(row.modified);
        }
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
    if (rows_.size() < 2) return;
    const QList<int> sortedRows = sortedOrder(rows_, column, order);
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
