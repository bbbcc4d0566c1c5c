#include "local_paths.h"

#include "connection/transfer_command.h"

#include <QDir>
#include <QFileInfo>

namespace corvexo {

bool isRootFolder(const QString &folder)
{
    return QDir::cleanPath(folder) == QLatin1String("/");
}

QString localFilePath(const QString &folder, const QString &name)
{
    return folder + u'/' + name;
}

bool isPlainRemoteFileName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return false;
    return !name.contains(u'/') && isSafeOperand(name);
}

QString resolveTypedPath(const QString &shownFolder, const QString &typed, const QString &homeFolder)
{
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = homeFolder + path.mid(1);
    if (path.isEmpty()) return shownFolder;
    return QDir::cleanPath(QDir(shownFolder).filePath(path));
}

FolderCheck checkFolder(const QString &path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return FolderCheck::Missing;
    if (!info.isDir()) return FolderCheck::NotFolder;
    if (!info.isReadable() || !info.isExecutable()) return FolderCheck::Unreadable;
    return FolderCheck::Usable;
}

} // namespace corvexo
