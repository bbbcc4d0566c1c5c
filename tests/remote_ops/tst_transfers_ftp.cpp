// Downloads and uploads through the main window against a real FTP server on
// 127.0.0.1, by menu, Enter and drop; the files compared byte for byte.
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "settings/settings_store.h"
#include "support/ftp_test_server.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corvexo;
using corvexo::testing::FtpTestServer;
using corvexo::testing::TestDataDir;

namespace {

constexpr int kWait = 30000;

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

bool writeLocal(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool listed(const QListWidget *list, const QString &text)
{
    return !list->findItems(text, Qt::MatchExactly).isEmpty();
}

// Clicks the entry, as the user picks it (the edit commands follow the click).
void select(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
    QCOMPARE(list->currentItem(), found.first());
}

void dropOn(FileListWidget *list)
{
    QMimeData mime;
    mime.setText(QStringLiteral("whatever was dragged"));
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
}

} // namespace

class TransfersFtpTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDataDir> data;
    std::unique_ptr<QTemporaryDir> disk;
    std::unique_ptr<FtpTestServer> server;
    std::unique_ptr<Form1> window;
    QList<MessageBoxRequest> messages;
    MessageBoxAnswer answer = MessageBoxAnswer::Yes;

    QString localFolder() const { return disk->filePath(QStringLiteral("ftp")); }
    QString localFile(const QString &name) const { return localFolder() + u'/' + name; }

    bool idle() const
    {
        return !window->Inet1->stillExecuting() && !window->GetWait && !window->PutWait && !window->PutList
               && !window->CdWait && !window->ListWait;
    }

    void connectWindow()
    {
        CurrentSetting[1] = QStringLiteral("127.0.0.1");
        CurrentSetting[2] = server->password();
        CurrentSetting[3] = server->user();
        CurrentSetting[4] = QString::number(server->port());
        CurrentSetting[5] = QStringLiteral("test");
        window->con_Click();
        QTRY_VERIFY_WITH_TIMEOUT(listed(window->ListView2, QStringLiteral("readme.txt")) && idle(), kWait);
        QVERIFY(window->Connected);
    }

    void refreshLocal() { QVERIFY(window->Dir1->setPath(localFolder())); }

private slots:
    void init()
    {
        data = std::make_unique<TestDataDir>();
        disk = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(disk->filePath(QStringLiteral("ftp"))));
        server = std::make_unique<FtpTestServer>();
        QVERIFY2(server->start(), qPrintable(server->errorText()));
        QVERIFY(server->writeFile(QStringLiteral("readme.txt"), randomBytes(300 * 1024)));
        QVERIFY(server->writeFile(QStringLiteral("small.gif"), QByteArray("GIF89a\r\n\0\x01", 10)));
        messages.clear();
        answer = MessageBoxAnswer::Yes;
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            messages << request;
            return request.yesNo ? answer : MessageBoxAnswer::Ok;
        });
        window = std::make_unique<Form1>(new FtpTransferControl);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        refreshLocal();
        connectWindow();
    }

    void cleanup()
    {
        if (window && window->Connected) window->Discon_Click();
        window.reset();
        setMessageBoxAnswerer({});
        server.reset();
        disk.reset();
        data.reset();
    }

    void downloadByMenuEnterAndDrop()
    {
        select(window->ListView2, QStringLiteral("readme.txt"));
        window->DownL->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(idle(), kWait);
        QCOMPARE(window->ListView1->findItems(QStringLiteral("readme.txt"), Qt::MatchExactly).size(), 1);
        QCOMPARE(readLocal(localFile(QStringLiteral("readme.txt"))), server->readFile(QStringLiteral("readme.txt")));

        QFile::remove(localFile(QStringLiteral("readme.txt")));
        window->ListView2->setFocus();
        select(window->ListView2, QStringLiteral("readme.txt"));
        QTest::keyClick(window->ListView2, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(idle() && QFile::exists(localFile(QStringLiteral("readme.txt"))), kWait);
        QCOMPARE(readLocal(localFile(QStringLiteral("readme.txt"))), server->readFile(QStringLiteral("readme.txt")));
        QCOMPARE(window->ListView1->findItems(QStringLiteral("readme.txt"), Qt::MatchExactly).size(), 1);

        select(window->ListView2, QStringLiteral("small.gif"));
        dropOn(window->ListView1);
        QTRY_VERIFY_WITH_TIMEOUT(idle() && QFile::exists(localFile(QStringLiteral("small.gif"))), kWait);
        QCOMPARE(readLocal(localFile(QStringLiteral("small.gif"))), server->readFile(QStringLiteral("small.gif")));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, text(213));
        QCOMPARE(messages[0].title, text(175));
    }

    void uploadByMenuEnterAndDrop()
    {
        const QByteArray bytes = randomBytes(200 * 1024 + 7);
        QVERIFY(writeLocal(localFile(QStringLiteral("a.txt")), bytes));
        QVERIFY(writeLocal(localFile(QStringLiteral("b.bin")), QByteArray("\r\n\0\xff", 4)));
        QVERIFY(writeLocal(localFile(QStringLiteral("c.wav")), randomBytes(4096)));
        refreshLocal();

        select(window->ListView1, QStringLiteral("a.txt"));
        window->UpL->trigger();
        // The remote list is fetched again, so the uploaded name shows there.
        QTRY_VERIFY_WITH_TIMEOUT(idle() && listed(window->ListView2, QStringLiteral("a.txt")), kWait);
        QCOMPARE(server->readFile(QStringLiteral("a.txt")), bytes);

        window->ListView1->setFocus();
        select(window->ListView1, QStringLiteral("b.bin"));
        QTest::keyClick(window->ListView1, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(idle() && listed(window->ListView2, QStringLiteral("b.bin")), kWait);
        QCOMPARE(server->readFile(QStringLiteral("b.bin")), readLocal(localFile(QStringLiteral("b.bin"))));

        select(window->ListView1, QStringLiteral("c.wav"));
        dropOn(window->ListView2);
        QTRY_VERIFY_WITH_TIMEOUT(idle() && listed(window->ListView2, QStringLiteral("c.wav")), kWait);
        QCOMPARE(server->readFile(QStringLiteral("c.wav")), readLocal(localFile(QStringLiteral("c.wav"))));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, text(174));
        QCOMPARE(messages[0].title, text(175));
    }

    void dropsAnsweredNoTransferNothing()
    {
        QVERIFY(writeLocal(localFile(QStringLiteral("keep.txt")), QByteArray("local only")));
        refreshLocal();
        answer = MessageBoxAnswer::No;
        select(window->ListView2, QStringLiteral("readme.txt"));
        dropOn(window->ListView1);
        QTRY_COMPARE(messages.size(), 1);
        select(window->ListView1, QStringLiteral("keep.txt"));
        dropOn(window->ListView2);
        QTRY_COMPARE(messages.size(), 2);
        QTest::qWait(300);
        QVERIFY(idle());
        QVERIFY(!QFile::exists(localFile(QStringLiteral("readme.txt"))));
        QVERIFY(!QFile::exists(server->pathOf(QStringLiteral("keep.txt"))));
        QVERIFY(!listed(window->ListView1, QStringLiteral("readme.txt")));
    }

    void localDoubleClickWhileDisconnectedSays205()
    {
        QVERIFY(writeLocal(localFile(QStringLiteral("a.txt")), QByteArray("x")));
        refreshLocal();
        window->Discon_Click();
        QVERIFY(!window->Connected);
        select(window->ListView1, QStringLiteral("a.txt"));
        const QRect entry = window->ListView1->visualItemRect(window->ListView1->currentItem());
        QTest::mouseDClick(window->ListView1->viewport(), Qt::LeftButton, {}, entry.center());
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, text(205));
        QVERIFY(!QFile::exists(server->pathOf(QStringLiteral("a.txt"))));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TransfersFtpTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_transfers_ftp.moc"
