// The local view's decisions without a window: transfer path checks, remote
// names that may become local files, typed paths, the drive box's order and
// the remembered folder's file.
#include "local/drive_list.h"
#include "local/local_paths.h"
#include "local/remembered_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;

class LocalDecisionsTest : public QObject {
    Q_OBJECT
private slots:
    void transferFolderChecks()
    {
        QVERIFY(isRootFolder(QStringLiteral("/")));
        QVERIFY(isRootFolder(QStringLiteral("//")));
        QVERIFY(!isRootFolder(QStringLiteral("/a")));
        QVERIFY(containsBlank(QStringLiteral("/home/u/My Files")));
        QVERIFY(!containsBlank(QStringLiteral("/home/u/ftp")));
        QCOMPARE(localFilePath(QStringLiteral("/home/u/ftp"), QStringLiteral("readme.txt")),
                 QStringLiteral("/home/u/ftp/readme.txt"));
    }

    void remoteNamesThatMayBecomeLocalFiles()
    {
        for (const char *good : {"readme.txt", "a b.txt", "...", ".hidden", "x..y"})
            QVERIFY2(isPlainRemoteFileName(QString::fromUtf8(good)), good);
        for (const char *bad : {"", ".", "..", "../x", "a/b", "pub/", "/etc/passwd", "a\r\nDELE b", "a\nb"})
            QVERIFY2(!isPlainRemoteFileName(QString::fromUtf8(bad)), bad);
    }

    void typedPaths()
    {
        const QString shown = QStringLiteral("/home/u/ftp");
        const QString home = QStringLiteral("/home/u");
        QCOMPARE(resolveTypedPath(shown, QStringLiteral("/tmp/x/"), home), QStringLiteral("/tmp/x"));
        QCOMPARE(resolveTypedPath(shown, QStringLiteral("../sub"), home), QStringLiteral("/home/u/sub"));
        QCOMPARE(resolveTypedPath(shown, QStringLiteral("~/docs"), home), QStringLiteral("/home/u/docs"));
    }

    void driveBoxOrder()
    {
        QCOMPARE(orderedDriveRoots({"/media/usb", "/", "/boot", "/media/usb/", "/"}),
                 (QStringList{"/", "/boot", "/media/usb"}));
        const QStringList roots{"/", "/boot", "/media/usb"};
        QCOMPARE(driveIndexOf(roots, QStringLiteral("/media/usb/photos")), 2);
        QCOMPARE(driveIndexOf(roots, QStringLiteral("/media/usbstick")), 0);
        QCOMPARE(driveIndexOf(roots, QStringLiteral("/boot")), 1);
        QCOMPARE(mountedDriveRoots().value(0), QStringLiteral("/"));
    }

    void rememberedFolderField_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "/home/u/ftp\r\n" << "/home/u/ftp";
        QTest::newRow("comma cuts") << "/home/u/a,b\r\n" << "/home/u/a";
        QTest::newRow("leading blanks") << "   /home/u\r\n" << "/home/u";
        QTest::newRow("quoted keeps comma") << "\"/home/u/a,b\"\r\n" << "/home/u/a,b";
        QTest::newRow("first line only") << "/one\r\n/two\r\n" << "/one";
        QTest::newRow("no line end") << "/home/u" << "/home/u";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("blank inside") << "/home/u/My Files\r\n" << "/home/u/My Files";
    }

    void rememberedFolderField()
    {
        QFETCH(QString, content);
        QFETCH(QString, field);
        QCOMPARE(firstField(content), field);
    }

    void rememberedFolderFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("childpf"));
        QCOMPARE(readRememberedFolder(path).present, false);
        QCOMPARE(writeRememberedFolder(path, QStringLiteral("/home/u/ftp")), QString());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("/home/u/ftp\r\n"));
        file.close();
        const RememberedFolderRead read = readRememberedFolder(path);
        QVERIFY(read.present && read.readable);
        QCOMPARE(read.folder, QStringLiteral("/home/u/ftp"));

        // A place that cannot take the file: a reason, and nothing half-written.
        const QString blocked = dir.filePath(QStringLiteral("blocked"));
        QVERIFY(QDir().mkdir(blocked));
        QVERIFY(!writeRememberedFolder(blocked, QStringLiteral("/x")).isEmpty());
        QVERIFY(QFileInfo(blocked).isDir());
        QVERIFY(!writeRememberedFolder(dir.filePath(QStringLiteral("none/childpf")), QStringLiteral("/x")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(LocalDecisionsTest)
#include "tst_local_decisions.moc"
