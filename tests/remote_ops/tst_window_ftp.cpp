// The main window on the real FTP engine against a local pyftpdlib server:
// files moved byte for byte by menu, Enter and drop, the folder read again.
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "support/ftp_run.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes) b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}
} // namespace

class WindowFtpTest : public QObject {
    Q_OBJECT
private slots:
    void filesMoveByteForByte()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QVERIFY(server.writeFile("readme.txt", randomBytes(300 * 1024)));
        QVERIFY(server.writeFile("small.gif", QByteArray("GIF89a\r\n\0\x01", 10)));
        QTemporaryDir disk;
        for (const auto &[name, bytes] : {std::pair{"a.txt", randomBytes(200 * 1024 + 7)}, {"b.bin", QByteArray("\r\n\0\xff", 4)}}) {
            QFile file(disk.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        FileListWidget *remote = f.window->ListView2, *local = f.window->ListView1;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QVERIFY(f.window->Dir1->setPath(disk.path()));
        f.useServer(server);
        f.window->con_Click();
        QVERIFY(f.settle());

        f.click(remote, "readme.txt");
        f.window->DownL->trigger();
        QVERIFY(f.settle());
        QCOMPARE(contentOf(disk.filePath("readme.txt")), server.readFile("readme.txt"));
        f.answers = {true, true};
        f.click(remote, "small.gif");
        WindowFixture::dropOn(local);
        QTRY_COMPARE(f.boxes.size(), 1);
        QVERIFY(f.settle());
        QCOMPARE(contentOf(disk.filePath("small.gif")), server.readFile("small.gif"));

        f.click(local, "a.txt");
        QTest::keyClick(local, Qt::Key_Return);
        QVERIFY(f.settle());
        QCOMPARE(server.readFile("a.txt"), contentOf(disk.filePath("a.txt")));
        QVERIFY(f.remoteEntries().contains("a.txt"));  // the folder was listed again
        f.click(local, "b.bin");
        WindowFixture::dropOn(remote);
        QTRY_COMPARE(f.boxes.size(), 2);
        QVERIFY(f.settle());
        QCOMPARE(server.readFile("b.bin"), QByteArray("\r\n\0\xff", 4));
        QCOMPARE(f.texts(), (QStringList{text(213), text(174)}));
        QVERIFY(f.window->Connected);
    }
};

QTEST_MAIN(WindowFtpTest)
#include "tst_window_ftp.moc"
