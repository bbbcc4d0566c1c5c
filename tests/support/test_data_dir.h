#pragma once
// Points the program's data folder at a fresh temporary folder for one test,
// so that no real user's files are touched.

#include "app/data_files.h"

#include <QString>
#include <QTemporaryDir>

namespace corvexo::testing {

class TestDataDir {
public:
    TestDataDir();
    ~TestDataDir();
    // The folder where "Sfile", "SLItems", "childpf" and "tm" go.
    QString dataFolder() const;
    QString filePath(const QString &name) const { return dataFilePath(name); }
    QByteArray read(const QString &name) const;
    bool write(const QString &name, const QByteArray &content) const;

private:
    QTemporaryDir home_;
    QByteArray previous_;
    QByteArray previousConfig_;
};

} // namespace corvexo::testing
