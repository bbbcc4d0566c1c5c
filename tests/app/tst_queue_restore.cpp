// An unfinished queue found at a start, against a real server (pyftpdlib):
// offered once the window is shown; Yes continues it to the end with the
// stored or an asked-for password, No removes the parts it left; a damaged
// saved queue is put aside. And the queue's totals in the progress panel.

#include "app/progress_panel.h"
#include "app/queue_restore.h"
#include "app/queue_totals_feed.h"
#include "app/transfers_window.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "queue/queue_store.h"
#include "support/ftp_test_server.h"
#include "support/local_files.h"
#include "support/window_fixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

// A download of /pub into folder that a restart cut short: x.txt and y.txt left, y begun.
bool saveCutQueue(quint16 port, const QString &folder, int slot = 1)
{
    queue::QueueModel model;
    model.addJob({queue::Direction::Download, folder, QStringLiteral("/pub"), true});
    for (const char *name : {"x.txt", "y.txt"}) {
        queue::QueueItem item;
        item.relative = QString::fromLatin1(name);
        model.addItem(item);
    }
    const SessionLogin login {TransferScheme::Ftp, QStringLiteral("127.0.0.1"), port, QStringLiteral("user"), {}};
    return QDir().mkpath(folder) && writeFile(folder + QStringLiteral("/.y.txt.corvexo-part"), "y")
           && queue::saveQueue(login, model, queue::savedQueuePath(slot)).isEmpty();
}

} // namespace

class TstQueueRestore : public QObject {
    Q_OBJECT
private slots:
    void savedQueueContinues_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<int>("slot");   // a queue that ran beside another keeps a file of its own
        QTest::newRow("password of the stored setting") << true << 1;
        QTest::newRow("password asked for") << false << 1;
        QTest::newRow("the second queue's file") << true << 2;
    }
    void savedQueueContinues()
    {
        QFETCH(bool, stored);
        QFETCH(int, slot);
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--log-commands")}), qPrintable(server.errorText()));
        server.writeFile(QStringLiteral("pub/x.txt"), "x content");
        server.writeFile(QStringLiteral("pub/y.txt"), "yy");
        QTemporaryDir disk;
        const QString folder = disk.filePath(QStringLiteral("d"));
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(saveCutQueue(server.port(), folder, slot));
        QStringList asked;
        setQueuePasswordAnswerer([&](const QString &text) {
            asked << text;
            return std::optional<QString>(server.password());
        });
        f.answers = {true};
        f.start(new FtpTransferControl);
        if (stored) f.useServer(server);
        f.window->show();
        QVERIFY(QTest::qWaitFor([&] { return !f.boxes.isEmpty(); }, 10000));
        const QString server_ = QStringLiteral("user@127.0.0.1:%1").arg(server.port());
        QCOMPARE(f.texts(), QStringList {QStringLiteral("The transfer queue with %1 did not finish: 2 files remain.\n"
                                                        "Continue it? (No discards it.)").arg(server_)});
        QVERIFY(QTest::qWaitFor([&] {
            return contentOf(folder + QStringLiteral("/y.txt")) == "yy" && contentOf(folder + QStringLiteral("/x.txt")) == "x content"
                   && !QFileInfo::exists(queue::savedQueuePath(slot));
        }, 60000));
        QVERIFY(queue::savedQueuePaths().isEmpty());
        setQueuePasswordAnswerer({});
        QCOMPARE(asked, stored ? QStringList() : QStringList {QStringLiteral("Enter the password of %1 (it is not stored).").arg(server_)});
        QVERIFY(server.takeOutput().contains("CMD REST"));   // the part went on where it ended
        QVERIFY(f.window->findChild<TransfersWindow *>()->isVisible());
    }

    void declinedQueueLeavesNoParts()
    {
        QTemporaryDir disk;
        const QString folder = disk.filePath(QStringLiteral("d"));
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(saveCutQueue(21, folder));
        QVERIFY(writeFile(folder + QStringLiteral("/.mine.corvexo-part"), "not the queue's"));
        f.answers = {false};
        f.start(new FtpTransferControl);
        f.window->show();
        QVERIFY(QTest::qWaitFor([&] { return !f.boxes.isEmpty() && !QFileInfo::exists(queue::savedQueuePath()); }, 10000));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList {QStringLiteral(".mine.corvexo-part")});
        QVERIFY(!f.window->findChild<TransfersWindow *>());
    }

    void damagedQueueIsPutAside()
    {
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(f.data.write(QStringLiteral("transfer-queue"), "corvexo-queue 1\nitem\t9\n"));
        f.start();
        f.window->show();
        QVERIFY(QTest::qWaitFor([&] { return !f.boxes.isEmpty(); }, 10000));
        const QString aside = f.data.filePath(QStringLiteral("transfer-queue.damaged"));
        QCOMPARE(f.texts(), QStringList {QStringLiteral("The saved transfer queue could not be read. It was kept as %1.").arg(aside)});
        QCOMPARE(f.data.read(QStringLiteral("transfer-queue.damaged")), QByteArray("corvexo-queue 1\nitem\t9\n"));
        QVERIFY(!QFileInfo::exists(queue::savedQueuePath()));
        QVERIFY(!f.window->findChild<TransfersWindow *>());
    }

    void storedPasswords_data()
    {
        QTest::addColumn<QStringList>("setting");   // host, password, user, port
        QTest::addColumn<QString>("found");         // "-": none
        QTest::newRow("same") << QStringList {"Files.Example", "pw", "joe", ""} << "pw";
        QTest::newRow("other user") << QStringList {"files.example", "pw", "ann", ""} << "-";
        QTest::newRow("not stored") << QStringList {"files.example", "", "joe", ""} << "-";
    }
    void storedPasswords()
    {
        QFETCH(QStringList, setting);
        QFETCH(QString, found);
        const SessionLogin login {TransferScheme::Ftp, QStringLiteral("files.example"), 21, QStringLiteral("joe"), {}};
        const auto result = storedPasswordFor(login, {{setting[0], setting[1], setting[2], setting[3], QStringLiteral("n")}});
        QCOMPARE(result.value_or(QStringLiteral("-")), found);
    }

    void windowTransferKeepsThePanel()
    {
        // Speed and time left count only the bytes moved since the queue (re)started.
        QCOMPARE(queueProgressLine({0, 4, 3 << 20, 4 << 20}, 2 << 20, 1000), QStringLiteral("0/4 files, 3.0 MB of 4.0 MB, 1.0 MB/s, 0:01 left"));
        ProgressPanel panel;
        panel.reportQueue(QStringLiteral("queue"), 500);
        QVERIFY(panel.stopButton->isHidden());
        panel.report({TransferProgress::Unit::Bytes, 512, -1});
        panel.reportQueue(QStringLiteral("queue again"), 600);
        panel.finishQueue();   // the queue's end leaves the window's transfer shown
        QCOMPARE(panel.line->text(), QStringLiteral("512 bytes"));
        QVERIFY(!panel.isHidden() && !panel.stopButton->isHidden());
        panel.finish();
        panel.reportQueue(QStringLiteral("queue once more"), 700);
        QCOMPARE(panel.line->text(), QStringLiteral("queue once more"));
    }
};

QTEST_MAIN(TstQueueRestore)
#include "tst_queue_restore.moc"
