#include "local_folder_rows.h"

#include "file_icons.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <algorithm>

namespace corvexo {

namespace {

// Names by their lower-case form, names equal in it in the folder's own order.
QStringList sortedByName(const QStringList &names)
{
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i) keys.append({names.at(i).toLower(), i});
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    QStringList sorted;
    sorted.reserve(names.size());
    for (const auto &key : keys) sorted.append(names.at(key.second));
    return sorted;
}

} // namespace

LocalFolderRows::LocalFolderRows(QString folder) : folder_(std::move(folder)) {}

bool LocalFolderRows::work(const QDeadlineTimer &deadline)
{
    if (!listed_) {
        names_ = sortedByName(QDir(folder_).entryList(QDir::Files, QDir::Unsorted));
        rows_.reserve(names_.size());
        listed_ = true;
    }
    const QString prefix = folder_.endsWith(u'/') ? folder_ : folder_ + u'/';
    while (rows_.size() < names_.size()) {
        const QString &name = names_.at(rows_.size());
        FileListEntry row{name, localImageFor(name)};
        // One stat, and a time kept in UTC: converting every file's time to local time costs more than the stat.
        struct stat facts {};
        if (::stat(QFile::encodeName(prefix + name).constData(), &facts) == 0) {
            row.size = facts.st_size;
            row.modified = QDateTime::fromMSecsSinceEpoch(
                qint64(facts.st_mtim.tv_sec) * 1000 + facts.st_mtim.tv_nsec / 1000000, Qt::UTC);
        }
        rows_.append(std::move(row));
        if (rows_.size() % 256 == 0 && deadline.hasExpired()) return false;
    }
    return true;
}

} // namespace corvexo
