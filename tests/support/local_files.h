#pragma once
// Local files as the tests make and compare them.

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QString>

namespace corvexo::testing {

// A file's bytes; "<missing>" for one that cannot be read, which no expected content equals.
inline QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Every file and folder below root, hidden ones too (a part left behind shows), by
// relative path: a file's bytes, "/" for a folder.
inline QMap<QString, QByteArray> treeOf(const QString &root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree.insert(QDir(root).relativeFilePath(path), it.fileInfo().isDir() ? QByteArray("/") : contentOf(path));
    }
    return tree;
}

inline QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes) b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace corvexo::testing
