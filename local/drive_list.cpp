#include "drive_list.h"

#include <QDir>
#include <QStorageInfo>

#include <algorithm>

namespace corvexo {

QStringList orderedDriveRoots(const QStringList &roots)
{
    QStringList others;
    bool hasRoot = false;
    for (const QString &root : roots) {
        const QString clean = QDir::cleanPath(root);
        if (clean == QLatin1String("/")) hasRoot = true;
        else if (!clean.isEmpty() && !others.contains(clean)) others << clean;
    }
    std::sort(others.begin(), others.end());
    if (hasRoot) others.prepend(QStringLiteral("/"));
    return others;
}

QStringList mountedDriveRoots()
{
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) roots << volume.rootPath();
    return orderedDriveRoots(roots);
}

int driveIndexOf(const QStringList &roots, const QString &path)
{
    const QString clean = QDir::cleanPath(path);
    int best = -1;
    for (int i = 0; i < roots.size(); ++i) {
        const QString &root = roots[i];
        const bool under = root == QLatin1String("/") || clean == root || clean.startsWith(root + u'/');
        if (under && (best < 0 || root.size() > roots[best].size())) best = i;
    }
    return best;
}

} // namespace corvexo
