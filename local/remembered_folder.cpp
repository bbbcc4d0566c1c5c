#include "remembered_folder.h"

#include "files/file_writing.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace corvexo {

QString firstField(const QString &content)
{
    const QString line = content.section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0);
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i < line.size() && line[i] == u'"') {
        const qsizetype close = line.indexOf(u'"', i + 1);
        return line.mid(i + 1, close < 0 ? -1 : close - i - 1);
    }
    const qsizetype comma = line.indexOf(u',', i);
    return line.mid(i, comma < 0 ? -1 : comma - i);
}

QByteArray rememberedFolderLine(const QString &folder)
{
    return folder.toUtf8() + "\r\n";
}

RememberedFolderRead readRememberedFolder(const QString &filePath)
{
    RememberedFolderRead result;
    QFile file(filePath);
    result.present = file.exists();
    if (!result.present || !file.open(QIODevice::ReadOnly)) return result;
    result.readable = true;
    // Bounded: a path is far shorter, and a huge file must not be held whole.
    result.folder = firstField(QString::fromUtf8(file.read(64 * 1024)));
    return result;
}

QString writeRememberedFolder(const QString &filePath, const QString &folder)
{
    return writeFileWhole(filePath, rememberedFolderLine(folder));
}

} // namespace corvexo
