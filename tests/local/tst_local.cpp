// The local side: which remote names may become local files, the remembered
// folder's file, and the left pane's start folder and path box.
#include "local/folder_box.h"
#include "local/local_paths.h"
#include "local/remembered_folder.h"
#include "support/window_fixture.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

class LocalTest : public QObject {
    Q_OBJECT
private slots:
    void remoteNamesThatMayBecomeLocalFiles()
    {
        for (const char *good : {"readme.txt", "a b.txt", "...", ".hidden"})
            QVERIFY2(isPlainRemoteFileName(QString::fromUtf8(good)), good);
        for (const char *bad : {"", ".", "..", "../x", "pub/", "/etc/passwd", "a\r\nDELE b"})
            QVERIFY2(!isPlainRemoteFileName(QString::fromUtf8(bad)), bad);
    }

    void rememberedFolderField_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("field");
        QTest::newRow("comma cuts") << "/home/u/a,b\r\n" << "/home/u/a";
        QTest::newRow("quoted keeps comma") << "\"/home/u/a,b\"\r\n" << "/home/u/a,b";
        QTest::newRow("blank inside") << "   /home/u/My Files" << "/home/u/My Files";
    }
    void rememberedFolderField()
    {
        QFETCH(QString, content);
        QFETCH(QString, field);
        QCOMPARE(firstField(content), field);
    }

    void rememberedFolderComesBackOrIsIgnored()
    {
        QTemporaryDir disk;
        const QString start = disk.filePath("start"), kept = disk.filePath("kept");
        QVERIFY(QDir().mkpath(start) && QDir().mkpath(kept) && QFile(kept + "/in.txt").open(QIODevice::WriteOnly));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(start);
        {
            WindowFixture f(WindowFixture::Start::Later);
            QVERIFY(f.data.write("childpf", kept.toUtf8() + "\r\n"));
            f.start();
            QCOMPARE(f.window->File1Path, kept);
            QCOMPARE(WindowFixture::entries(f.window->ListView1), QStringList{"in.txt"});
            QVERIFY(f.data.write("childpf", disk.filePath("gone").toUtf8() + "\r\n"));
            f.start();  // a folder that went away: the start folder, and it is written over at Exit
            QCOMPARE(f.window->File1Path, start);
            f.window->ExitApp_Click();
            QCOMPARE(f.data.read("childpf"), start.toUtf8() + "\r\n");
        }
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(QDir().mkpath(f.data.filePath("childpf")));  // a folder stands in the way
        f.start();
        QCOMPARE(f.window->statusText(), QStringLiteral("The remembered local folder could not be read."));
        f.window->unPathF();
        QVERIFY(f.texts().value(0).startsWith("Could not save \"childpf\" ("));
        QDir::setCurrent(previous);
    }

    void pathBoxMovesOnEnterOrTellsWhy()
    {
        QTemporaryDir disk;
        QVERIFY(QDir().mkpath(disk.filePath("sub")) && QFile(disk.filePath("b.txt")).open(QIODevice::WriteOnly));
        WindowFixture f;
        Form1 &w = *f.window;
        QVERIFY(w.Dir1->setPath(disk.path()));
        for (const QString &typed : {disk.filePath("missing"), disk.filePath("b.txt")}) {
            w.Text1->setText(typed);
            QTest::keyClick(w.Text1, Qt::Key_Return);
            QCOMPARE(w.File1Path, disk.path());
            QCOMPARE(w.Text1->text(), disk.path());
        }
        QCOMPARE(w.statusText(), QStringLiteral("%1 is not a folder. Still showing %2.").arg(disk.filePath("b.txt"), disk.path()));
        w.Text1->setText("sub");  // relative to the folder shown
        QTest::keyClick(w.Text1, Qt::Key_Return);
        QCOMPARE(w.File1Path, disk.filePath("sub"));
        QVERIFY(f.boxes.isEmpty());
    }
};

QTEST_MAIN(LocalTest)
#include "tst_local.moc"
