// The main window on the real FTP engine against a local pyftpdlib server:
// files moved byte for byte by menu, Enter and drop, the folder read again.
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "support/ftp_test_server.h"
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
QByteArray readLocal(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class WindowFtpTest : public QObject {
    Q_OBJECT
    FtpTestServer server_;
    std::unique_ptr<QTemporaryDir> disk_;
    std::unique_ptr<WindowFixture> f_;

    QString local(const QString &name) const { return disk_->filePath(name); }
    void writeLocal(const QString &name, const QByteArray &bytes)
    {
        QFile file(local(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QVERIFY(f_->window->Dir1->setPath(disk_->path()));
    }
private slots:
    void initTestCase() { QVERIFY2(server_.start(), qPrintable(server_.errorText())); }
    void init()
    {
        QVERIFY(server_.writeFile("readme.txt", randomBytes(300 * 1024)));
        QVERIFY(server_.writeFile("small.gif", QByteArray("GIF89a\r\n\0\x01", 10)));
        disk_ = std::make_unique<QTemporaryDir>();
        f_ = std::make_unique<WindowFixture>(WindowFixture::Start::Later);
        f_->start(new FtpTransferControl);
        f_->window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f_->window.get()));
        QVERIFY(f_->window->Dir1->setPath(disk_->path()));
        f_->useServer(server_);
        f_->window->con_Click();
        QVERIFY(f_->settle());
        QVERIFY(f_->remoteEntries().contains("readme.txt"));
    }
    void cleanup()
    {
        QVERIFY2(f_->boxes.isEmpty() || QTest::currentTestFailed(), qPrintable(f_->texts().join('|')));
        f_.reset();
        disk_.reset();
    }

    void filesMoveByteForByte()
    {
        FileListWidget *remote = f_->window->ListView2, *localList = f_->window->ListView1;
        f_->click(remote, "readme.txt");
        f_->window->DownL->trigger();
        QVERIFY(f_->settle());
        QCOMPARE(readLocal(local("readme.txt")), server_.readFile("readme.txt"));
        f_->answers = {true, true};
        f_->click(remote, "small.gif");
        WindowFixture::dropOn(localList);
        QTRY_COMPARE(f_->boxes.size(), 1);
        QVERIFY(f_->settle());
        QCOMPARE(readLocal(local("small.gif")), server_.readFile("small.gif"));

        writeLocal("a.txt", randomBytes(200 * 1024 + 7));
        writeLocal("b.bin", QByteArray("\r\n\0\xff", 4));
        f_->click(localList, "a.txt");
        QTest::keyClick(localList, Qt::Key_Return);
        QVERIFY(f_->settle());
        QCOMPARE(server_.readFile("a.txt"), readLocal(local("a.txt")));
        QVERIFY(f_->remoteEntries().contains("a.txt"));  // the folder was listed again
        f_->click(localList, "b.bin");
        WindowFixture::dropOn(remote);
        QTRY_COMPARE(f_->boxes.size(), 2);
        QVERIFY(f_->settle());
        QCOMPARE(server_.readFile("b.bin"), QByteArray("\r\n\0\xff", 4));
        QCOMPARE(f_->texts(), (QStringList{text(213), text(174)}));
        f_->boxes.clear();
    }

};

QTEST_MAIN(WindowFtpTest)
#include "tst_window_ftp.moc"
