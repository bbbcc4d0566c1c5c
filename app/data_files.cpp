#include "data_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace corvexo {

QString dataFilePath(const QString &fileName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).filePath(fileName);
}

QString resourceFilePath(const QString &fileName)
{
    const QString appDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        appDir + QStringLiteral("/resources/") + fileName,
        appDir + QStringLiteral("/../resources/") + fileName,
        appDir + QStringLiteral("/../share/corvexo/") + fileName,
    };
    for (const QString &path : candidates)
        if (QFileInfo::exists(path)) return QFileInfo(path).canonicalFilePath();
    return {};
}

} // namespace corvexo
