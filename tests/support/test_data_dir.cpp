#include "test_data_dir.h"
#include "app/data_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvexo::testing {

// The program's own state file (the lists' look) goes to a folder of the test's as well.
TestDataDir::TestDataDir() : previous_(qgetenv("XDG_DATA_HOME")), previousConfig_(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("XDG_DATA_HOME", home_.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home_.path() + QStringLiteral("/config")).toLocal8Bit());
}

TestDataDir::~TestDataDir()
{
    qputenv("XDG_DATA_HOME", previous_);
    qputenv("XDG_CONFIG_HOME", previousConfig_);
}

QString TestDataDir::dataFolder() const
{
    return QFileInfo(dataFilePath(QStringLiteral("x"))).absolutePath();
}

QByteArray TestDataDir::read(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TestDataDir::write(const QString &name, const QByteArray &content) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace corvexo::testing
