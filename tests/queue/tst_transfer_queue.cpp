// The transfer queue against a real server (pyftpdlib): whole trees down and
// up byte for byte, a tree deleted, a download resumed after the server was
// stopped, a retry after 421, the existing-target question, a saved queue
// restored, and two sessions really used.

#include "connection/ftp/ftp_session.h"
#include "queue/queue_store.h"
#include "queue/transfer_queue.h"
#include "support/ftp_test_server.h"
#include "support/local_files.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;
using namespace corvexo::queue;
using corvexo::testing::FtpTestServer;
using corvexo::testing::contentOf;
using corvexo::testing::treeOf;
using corvexo::testing::writeFile;

namespace {

std::unique_ptr<TransferQueue> queueFor(const FtpTestServer &server, int sessions = 2)
{
    auto queue = std::make_unique<TransferQueue>([] { return std::make_unique<ftp::FtpSession>(); },
                                                 SessionLogin {TransferScheme::Ftp, QStringLiteral("127.0.0.1"), server.port(),
                                                               server.user(), server.password()});
    queue->setParallelSessions(sessions);
    queue->setRetryPauseMs(300);
    return queue;
}

bool runToEnd(TransferQueue &queue, int ms = 60000)
{
    QSignalSpy finished(&queue, &TransferQueue::finished);
    return finished.count() > 0 || finished.wait(ms);
}

QByteArray pattern(int size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) bytes[i] = char(seed + i * 7 + i / 251);
    return bytes;
}

void makeTree(FtpTestServer &server, const QString &root)
{
    server.writeFile(root + QStringLiteral("/top file.bin"), pattern(300000, 1));
    server.writeFile(root + QStringLiteral("/sub one/a b.txt"), "blanks in names\r\n");
    server.writeFile(root + QStringLiteral("/sub one/日本語/ファイル.txt"), "日本語の中身");
    server.writeFile(root + QStringLiteral("/sub one/日本語/empty"), QByteArray());
    server.makeFolder(root + QStringLiteral("/no files"));
}

} // namespace

class TstTransferQueue : public QObject {
    Q_OBJECT
private slots:
    void treeDownAndUpOnTwoSessions()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--log-commands")}), qPrintable(server.errorText()));
        makeTree(server, QStringLiteral("tree"));
        QTemporaryDir local;
        const QString down = local.filePath(QStringLiteral("down here"));

        auto queue = queueFor(server);
        qsizetype doneAtEnd = -1;
        connect(queue.get(), &TransferQueue::finished, this, [&] { doneAtEnd = queue->model().count(ItemState::Done); });
        queue->addDownload(QStringLiteral("tree"), down);
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 0);
        // Finished means every file has its name.
        QCOMPARE(doneAtEnd, queue->model().size());
        QCOMPARE(treeOf(down), treeOf(server.pathOf(QStringLiteral("tree"))));
        // One session walked, two moved the files, each logged in once; the listing's sizes are the check.
        QCOMPARE(queue->sessionsUsed(), 2);
        const QByteArray log = server.takeOutput();
        QCOMPARE(log.count("CMD PASS"), 3);
        QCOMPARE(log.count("CMD SIZE"), 0);

        // Up again, with a link to a folder that is listed as skipped, not followed.
        QVERIFY(QFile::link(down, down + QStringLiteral("/loop")));
        queue->addUpload(down, QStringLiteral("back/up"));
        QVERIFY(runToEnd(*queue));
        QFile::remove(down + QStringLiteral("/loop"));
        QCOMPARE(treeOf(server.pathOf(QStringLiteral("back/up"))), treeOf(down));
        QCOMPARE(queue->model().count(ItemState::Skipped), 1);
        QCOMPARE(queue->model().count(ItemState::Failed), 0);
    }

    void folderDeletedWithContents_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("MLSD") << QStringList();
        QTest::newRow("LIST") << QStringList {QStringLiteral("--no-mlsd")};
    }
    void folderDeletedWithContents()
    {
        QFETCH(QStringList, arguments);
        FtpTestServer server;
        QVERIFY2(server.start(arguments), qPrintable(server.errorText()));
        makeTree(server, QStringLiteral("old"));
        server.writeFile(QStringLiteral("keep.txt"), "stays");
        server.writeFile(QStringLiteral("elsewhere/kept.txt"), "kept");
        // A link to a folder outside goes as a link, its target stays, even where MLSD
        // describes it as a folder; a link back up is not walked round and round.
        QVERIFY(QFile::link(server.pathOf(QStringLiteral("elsewhere")), server.pathOf(QStringLiteral("old/link"))));
        QVERIFY(QFile::link(QStringLiteral(".."), server.pathOf(QStringLiteral("old/sub one/up"))));
        auto queue = queueFor(server, 3);
        queue->addDelete(QStringLiteral("old"));
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 0);
        QCOMPARE(queue->model().count(ItemState::Done), 10);   // 4 files, 2 links, 4 folders with the root
        QCOMPARE(server.readFile(QStringLiteral("elsewhere/kept.txt")), QByteArray("kept"));
        QVERIFY(!QFileInfo::exists(server.pathOf(QStringLiteral("old"))));
        QCOMPARE(server.readFile(QStringLiteral("keep.txt")), QByteArray("stays"));
    }

    void downloadResumesAfterServerStopped()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--throttle"), QStringLiteral("2000000")}), qPrintable(server.errorText()));
        const QByteArray content = pattern(12'000'000, 3);
        server.writeFile(QStringLiteral("big/big file.bin"), content);
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("big/big file.bin"));
        const QString part = partPathFor(target);

        auto queue = queueFor(server, 1);
        queue->setRetryPauseMs(1500);
        queue->addDownload(QStringLiteral("big"), local.filePath(QStringLiteral("big")));
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(part).size() > 1'000'000; }, 30000));
        const QString root = server.root();
        const quint16 port = server.port();
        server.stop();
        // Nothing under the target's name until the file is whole.
        QVERIFY(!QFileInfo::exists(target));

        FtpTestServer again;
        QVERIFY2(again.start({QStringLiteral("--root"), root, QStringLiteral("--port"), QString::number(port),
                              QStringLiteral("--log-commands")}),
                 qPrintable(again.errorText()));
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 0);
        QVERIFY(again.takeOutput().contains("CMD REST"));
        QVERIFY(contentOf(target) == content);
        QVERIFY(!QFileInfo::exists(part));
    }

    void stoppedItemGoesOnWhenRetried()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--throttle"), QStringLiteral("1000000"), QStringLiteral("--log-commands")}),
                 qPrintable(server.errorText()));
        const QByteArray content = pattern(4'000'000, 9);
        server.writeFile(QStringLiteral("s/f.bin"), content);
        QTemporaryDir local;
        const QString target = local.filePath(QStringLiteral("f.bin"));
        auto queue = queueFor(server, 1);
        queue->addDownload(QStringLiteral("s"), local.path());
        QVERIFY(QTest::qWaitFor([&] { return QFileInfo(partPathFor(target)).size() > 300'000; }, 30000));
        const qsizetype file = queue->model().size() - 1;
        queue->stopItem(file);
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().item(file).state, ItemState::Failed);
        QCOMPARE(queue->model().item(file).reason, QStringLiteral("stopped"));
        QVERIFY(!QFileInfo::exists(target));
        server.takeOutput();

        queue->retryFailed();
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().item(file).state, ItemState::Done);
        QVERIFY(server.takeOutput().contains("CMD REST"));
        QVERIFY(contentOf(target) == content);
    }

    void retriedAfter421()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--fail-once"), QStringLiteral("RETR"), QStringLiteral("--log-commands")}),
                 qPrintable(server.errorText()));
        server.writeFile(QStringLiteral("one/f.txt"), "content");
        QTemporaryDir local;
        auto queue = queueFor(server, 1);
        queue->addDownload(QStringLiteral("one"), local.path());
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 0);
        QCOMPARE(contentOf(local.filePath(QStringLiteral("f.txt"))), QByteArray("content"));
        QCOMPARE(server.takeOutput().count("CMD RETR"), 2);
    }

    void lastingFailureNotRetried()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--log-commands")}), qPrintable(server.errorText()));
        server.writeFile(QStringLiteral("one/f.txt"), "content");
        QTemporaryDir local;
        // A folder where the file should go: the local write fails, which no retry mends.
        QVERIFY(QDir().mkpath(local.filePath(QStringLiteral(".f.txt.corvexo-part"))));
        auto queue = queueFor(server, 1);
        queue->addDownload(QStringLiteral("one"), local.path());
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 1);
        QCOMPARE(server.takeOutput().count("CMD RETR"), 0);
    }

    void existingTargetsAskedOnce()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        for (const char *name : {"a.txt", "b.txt", "c.txt"}) server.writeFile(QStringLiteral("src/") + name, "new");
        QTemporaryDir local;
        for (const char *name : {"a.txt", "b.txt"}) {
            QFile old(local.filePath(QString::fromLatin1(name)));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        }
        auto queue = queueFor(server);
        int asked = 0;
        connect(queue.get(), &TransferQueue::existingQuestion, this, [&](const ExistingQuestion &question) {
            ++asked;
            QVERIFY(question.target.startsWith(local.path()));
            QCOMPARE(question.targetFacts.size, 3);
            queue->answerExisting(ExistingChoice::Rename, true);
        });
        queue->addDownload(QStringLiteral("src"), local.path());
        QVERIFY(runToEnd(*queue));
        QCOMPARE(asked, 1);
        QCOMPARE(contentOf(local.filePath(QStringLiteral("a.txt"))), QByteArray("old"));
        QCOMPARE(contentOf(local.filePath(QStringLiteral("a (1).txt"))), QByteArray("new"));
        QCOMPARE(contentOf(local.filePath(QStringLiteral("b (1).txt"))), QByteArray("new"));
        QCOMPARE(contentOf(local.filePath(QStringLiteral("c.txt"))), QByteArray("new"));
    }

    void uploadResumesShorterTarget()
    {
        FtpTestServer server;
        QVERIFY2(server.start({QStringLiteral("--log-commands")}), qPrintable(server.errorText()));
        QTemporaryDir local;
        const QByteArray content = pattern(200000, 5);
        QVERIFY(writeFile(local.filePath(QStringLiteral("f.bin")), content));
        server.writeFile(QStringLiteral("to/f.bin"), content.left(70000));
        auto queue = queueFor(server, 1);
        queue->setExistingChoice(ExistingChoice::Resume);
        queue->addUpload(local.path(), QStringLiteral("/to"));
        QVERIFY(runToEnd(*queue));
        QVERIFY(server.readFile(QStringLiteral("to/f.bin")) == content);
        QVERIFY(server.takeOutput().contains("CMD REST"));
    }

    void savedQueueRestored()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        server.writeFile(QStringLiteral("pub/x.txt"), "x");
        server.writeFile(QStringLiteral("pub/deep/y.txt"), "yy");
        QTemporaryDir local;
        const QString saved = local.filePath(QStringLiteral("data/transfer-queue"));
        // A queue that a restart cut short: one job walked with one file left, one not walked.
        QueueModel model;
        model.addJob({Direction::Download, local.filePath(QStringLiteral("d1")), server.pathOf(QStringLiteral("pub")).isEmpty() ? QString() : QStringLiteral("/pub"), true});
        model.addJob({Direction::Download, local.filePath(QStringLiteral("d2")), QStringLiteral("/pub/deep"), false});
        QueueItem item;
        item.relative = QStringLiteral("x.txt");
        item.size = 1;
        model.addItem(item);
        const SessionLogin login {TransferScheme::Ftp, QStringLiteral("127.0.0.1"), server.port(), server.user(), {}};
        QVERIFY(saveQueue(login, model, saved).isEmpty());

        SavedQueue restored;
        QVERIFY(loadQueue(&restored, saved));
        QCOMPARE(restored.login, login);
        auto queue = queueFor(server);
        queue->setSavePath(saved);
        queue->restore(restored.model);
        QVERIFY(runToEnd(*queue));
        QCOMPARE(contentOf(local.filePath(QStringLiteral("d1/x.txt"))), QByteArray("x"));
        QCOMPARE(contentOf(local.filePath(QStringLiteral("d2/y.txt"))), QByteArray("yy"));
        // Nothing is left to offer again.
        QVERIFY(QTest::qWaitFor([&] { return !QFileInfo::exists(saved); }, 10000));
    }

    void partOfRemovedItemGoes()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QTemporaryDir local;
        QFile part(local.filePath(QStringLiteral(".gone.bin.corvexo-part")));
        QVERIFY(part.open(QIODevice::WriteOnly) && part.write("begun") == 5);
        part.close();
        auto queue = queueFor(server);
        queue->addDownload(QStringLiteral("/pub/gone.bin"), local.filePath(QStringLiteral("gone.bin")));
        QVERIFY(runToEnd(*queue));
        QCOMPARE(queue->model().count(ItemState::Failed), 1);
        queue->clearFinished();   // a failed item stays, with its part, for a retry
        QVERIFY(part.exists());
        queue->removeItems({0});
        QVERIFY(QTest::qWaitFor([&] { return !part.exists(); }, 10000));
        QCOMPARE(queue->model().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TstTransferQueue)
#include "tst_transfer_queue.moc"
