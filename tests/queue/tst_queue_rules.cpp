// The queue's pure decisions: which failures go again, the existing-target
// choices, free names, the saved queue's text, the options file and the
// console's queue lines.

#include "queue/queue_options.h"
#include "queue/queue_rules.h"
#include "queue/queue_store.h"
#include "tools/console/queue_line.h"

#include <QTest>

using namespace corvexo;
using namespace corvexo::queue;

Q_DECLARE_METATYPE(corvexo::queue::ExistingChoice)
Q_DECLARE_METATYPE(corvexo::queue::ExistingAction)
Q_DECLARE_METATYPE(corvexo::queue::FailureKind)

class TstQueueRules : public QObject {
    Q_OBJECT
private slots:
    void failures_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("lost");
        QTest::addColumn<bool>("trustRefused");
        QTest::addColumn<FailureKind>("kind");
        QTest::newRow("connection broke") << 0 << true << false << FailureKind::Passing;
        QTest::newRow("local disk full") << 0 << false << false << FailureKind::Lasting;
        QTest::newRow("421 closing") << 421 << true << false << FailureKind::Passing;
        QTest::newRow("426 transfer aborted") << 426 << false << false << FailureKind::Passing;
        QTest::newRow("450 busy") << 450 << false << false << FailureKind::Passing;
        QTest::newRow("452 server disk full") << 452 << false << false << FailureKind::Lasting;
        QTest::newRow("550 no such file") << 550 << false << false << FailureKind::Lasting;
        QTest::newRow("552 quota") << 552 << false << false << FailureKind::Lasting;
        QTest::newRow("certificate refused") << 0 << true << true << FailureKind::Lasting;
    }
    void failures()
    {
        QFETCH(int, code);
        QFETCH(bool, lost);
        QFETCH(bool, trustRefused);
        QFETCH(FailureKind, kind);
        QCOMPARE(classifyFailure({code, lost, trustRefused}), kind);
    }

    void retries()
    {
        // Three more attempts with a growing pause, then no more; lasting faults never.
        QVERIFY(shouldRetry(FailureKind::Passing, 1));
        QVERIFY(shouldRetry(FailureKind::Passing, 3));
        QVERIFY(!shouldRetry(FailureKind::Passing, 4));
        QVERIFY(!shouldRetry(FailureKind::Lasting, 1));
        QCOMPARE(QList<int>({retryPauseMs(1, 2000), retryPauseMs(2, 2000), retryPauseMs(3, 2000)}),
                 QList<int>({2000, 4000, 8000}));
    }

    void existingTargets_data()
    {
        QTest::addColumn<ExistingChoice>("choice");
        QTest::addColumn<qint64>("sourceSize");
        QTest::addColumn<qint64>("sourceTime");
        QTest::addColumn<qint64>("targetSize");
        QTest::addColumn<qint64>("targetTime");
        QTest::addColumn<ExistingAction>("action");
        using C = ExistingChoice;
        using A = ExistingAction;
        QTest::newRow("overwrite") << C::Overwrite << 10LL << 1LL << 20LL << 2LL << A::Transfer;
        QTest::newRow("newer: source newer") << C::OverwriteIfNewer << 10LL << 5LL << 10LL << 4LL << A::Transfer;
        QTest::newRow("newer: source older") << C::OverwriteIfNewer << 10LL << 3LL << 10LL << 4LL << A::Skip;
        QTest::newRow("newer: same time") << C::OverwriteIfNewer << 10LL << 4LL << 10LL << 4LL << A::Skip;
        QTest::newRow("newer: time unknown") << C::OverwriteIfNewer << 10LL << 0LL << 10LL << 4LL << A::Skip;
        QTest::newRow("resume: target shorter") << C::Resume << 10LL << 0LL << 4LL << 0LL << A::Resume;
        QTest::newRow("resume: target whole") << C::Resume << 10LL << 0LL << 10LL << 0LL << A::Skip;
        QTest::newRow("resume: target longer") << C::Resume << 10LL << 0LL << 12LL << 0LL << A::Skip;
        QTest::newRow("resume: size unknown") << C::Resume << -1LL << 0LL << 4LL << 0LL << A::Skip;
        QTest::newRow("rename") << C::Rename << 10LL << 0LL << 10LL << 0LL << A::Rename;
        QTest::newRow("skip") << C::Skip << 10LL << 9LL << 1LL << 0LL << A::Skip;
        QTest::newRow("not answered") << C::Ask << 10LL << 9LL << 1LL << 0LL << A::Skip;
    }
    void existingTargets()
    {
        QFETCH(ExistingChoice, choice);
        QFETCH(qint64, sourceSize);
        QFETCH(qint64, sourceTime);
        QFETCH(qint64, targetSize);
        QFETCH(qint64, targetTime);
        QFETCH(ExistingAction, action);
        QCOMPARE(decideExisting(choice, {sourceSize, sourceTime}, {targetSize, targetTime}), action);
    }

    void freeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("free");
        QTest::newRow("first") << "report.txt" << QStringList() << "report (1).txt";
        QTest::newRow("next free") << "report.txt" << QStringList {"report (1).txt", "report (2).txt"} << "report (3).txt";
        QTest::newRow("no extension") << "README" << QStringList() << "README (1)";
        QTest::newRow("hidden file") << ".profile" << QStringList() << ".profile (1)";
        QTest::newRow("two dots") << "data.tar.gz" << QStringList() << "data.tar (1).gz";
        QTest::newRow("japanese") << "写真.jpg" << QStringList() << "写真 (1).jpg";
    }
    void freeNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, free);
        QCOMPARE(freeName(name, [&taken](const QString &n) { return taken.contains(n); }), free);
    }

    void partFileIsHiddenBesideTarget()
    {
        QCOMPARE(partPathFor(QStringLiteral("/d/sub one/a b.txt")), QStringLiteral("/d/sub one/.a b.txt.corvexo-part"));
        // Queues running at once never share a saved file.
        const QStringList live {savedQueuePath(), savedQueuePath(2)};
        QCOMPARE(freeSavedQueuePath([&live](const QString &path) { return live.contains(path); }), savedQueuePath(3));
        QVERIFY(savedQueuePath(3).endsWith(QStringLiteral("/transfer-queue-3")));
        // A reason names the target, never the hidden part.
        QCOMPARE(reasonNamingTarget(QStringLiteral("Cannot write /d/.a.txt.corvexo-part: disk full"), QStringLiteral("/d/a.txt")),
                 QStringLiteral("Cannot write /d/a.txt: disk full"));
        QCOMPARE(reasonNamingTarget(QStringLiteral("\".a.txt.corvexo-part\" failed"), QStringLiteral("/d/a.txt")),
                 QStringLiteral("\"a.txt\" failed"));
    }

    void savedQueueRoundTrip()
    {
        QueueModel model;
        model.addJob({Direction::Download, QStringLiteral("/home/u/tab\there"), QStringLiteral("/pub/100%"), true});
        model.addJob({Direction::Upload, QStringLiteral("/l"), QStringLiteral("/r"), false});
        QueueItem waiting;
        waiting.relative = QStringLiteral("sub one/日本\n語.txt");
        waiting.size = 1234;
        waiting.modified = 1700000000000;
        model.addItem(waiting);
        QueueItem done = waiting;
        done.relative = QStringLiteral("finished");
        done.state = ItemState::Done;
        model.addItem(done);
        QueueItem unwalked = waiting;
        unwalked.job = 1;
        model.addItem(unwalked);

        SavedQueue saved;
        QVERIFY(parseQueueText(queueText({TransferScheme::Sftp, QStringLiteral("ftp.example"), 2121, QStringLiteral("me"), QStringLiteral("pw")}, model),
                               &saved));
        QCOMPARE(saved.login, (SessionLogin {TransferScheme::Sftp, QStringLiteral("ftp.example"), 2121, QStringLiteral("me"), QString()}));
        QCOMPARE(saved.model.jobs().size(), 2);
        QCOMPARE(saved.model.jobs()[0].localRoot, model.jobs()[0].localRoot);
        QCOMPARE(saved.model.jobs()[0].remoteRoot, model.jobs()[0].remoteRoot);
        QVERIFY(!saved.model.jobs()[1].walked);
        // The done item is not kept; the unwalked job's item is, for the part it may have left.
        QCOMPARE(saved.model.size(), 2);
        QCOMPARE(saved.model.item(1).job, 1u);
        QCOMPARE(saved.model.item(0).relative, waiting.relative);
        QCOMPARE(saved.model.item(0).size, 1234);
        QCOMPARE(saved.model.item(0).modified, waiting.modified);

        SavedQueue untouched;
        QVERIFY(!parseQueueText("something else\n", &untouched));
        QVERIFY(!parseQueueText("corvexo-queue 1\nlogin\th\t21\tu\nitem\t5\t0\t1\t0\tx\n", &untouched));
    }

    // Steps, separated by blanks: "a=50" bytes done, "a:done" a state, "retry", "clear", "-a" removed.
    void totals_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<qint64>>("expected");   // files done, files, bytes done, bytes
        QTest::newRow("a done") << "a=100 a:done" << QList<qint64> {1, 3, 100, 150};
        QTest::newRow("b skipped") << "b=20 b:skipped" << QList<qint64> {1, 3, 0, 100};
        QTest::newRow("b failed, retried") << "b=20 b:failed retry" << QList<qint64> {0, 3, 20, 150};
        QTest::newRow("deletion counts no bytes") << "d=70 d:done" << QList<qint64> {1, 3, 0, 150};
        QTest::newRow("cleared") << "a=100 a:done b:skipped clear" << QList<qint64> {0, 1, 0, 0};
        QTest::newRow("removed") << "b=20 b:failed -b" << QList<qint64> {0, 2, 0, 100};
    }
    void totals()
    {
        QFETCH(QString, steps);
        QFETCH(QList<qint64>, expected);
        QueueModel model;
        model.addJob({Direction::Download, QStringLiteral("/l"), QStringLiteral("/r"), true});
        model.addJob({Direction::Delete, {}, QStringLiteral("/old"), true});
        for (const QueueItem &item : {QueueItem {.size = 100}, QueueItem {.size = 50}, QueueItem {.kind = ItemKind::Folder},
                                      QueueItem {.size = 70, .job = 1}})   // a, b, c, d
            model.addItem(item);
        const QMap<QString, ItemState> states {{"running", ItemState::Running}, {"done", ItemState::Done},
                                               {"skipped", ItemState::Skipped}, {"failed", ItemState::Failed}};
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const qsizetype item = step.front().unicode() - 'a';
            if (step == u"retry") model.retryFailed();
            else if (step == u"clear") model.clearFinished();
            else if (step.startsWith(u'-')) model.removeItems({step.back().unicode() - 'a'});
            else if (step.contains(u'=')) model.setDone(item, step.section(u'=', 1).toLongLong());
            else model.setState(item, states.value(step.section(u':', 1)));
        }
        const QueueTotals totals = model.totals();
        QCOMPARE((QList<qint64> {totals.filesDone, totals.filesTotal, totals.bytesDone, totals.bytesTotal}), expected);
    }

    void options_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("sessions");
        QTest::addColumn<ExistingChoice>("existing");
        QTest::newRow("none") << QByteArray() << 2 << ExistingChoice::Ask;
        QTest::newRow("set") << QByteArray("parallel-sessions=4\nexisting-targets=rename\n") << 4 << ExistingChoice::Rename;
        QTest::newRow("out of range") << QByteArray("parallel-sessions=11\n") << 2 << ExistingChoice::Ask;
        QTest::newRow("not a number") << QByteArray("parallel-sessions=x\nexisting-targets=maybe") << 2 << ExistingChoice::Ask;
    }
    void options()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, sessions);
        QFETCH(ExistingChoice, existing);
        const QueueOptions options = parseOptions(text);
        QCOMPARE(options.parallelSessions, sessions);
        QCOMPARE(options.existingTargets, existing);
        QCOMPARE(parseOptions(optionsText(options)), options);
    }

    void consoleLines_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("isQueue");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("parallel");
        QTest::addColumn<QString>("target");
        QTest::newRow("get -r") << "get -r pub \"/tmp/a b\"" << true << true << 2 << "/tmp/a b";
        QTest::newRow("options") << "put -r --parallel 4 --resume /l /r" << true << true << 4 << "/r";
        QTest::newRow("plain get") << "get a b" << false << false << 0 << "";
        QTest::newRow("too many sessions") << "get -r --parallel 11 a b" << true << false << 0 << "";
        QTest::newRow("missing operand") << "put -r /l" << true << false << 0 << "";
        QTest::newRow("delete one operand") << "delete -r old" << true << true << 2 << "";
        QTest::newRow("quote left open") << "get -r pub \"/tmp/a b" << true << false << 0 << "";
    }
    void consoleLines()
    {
        QFETCH(QString, line);
        QFETCH(bool, isQueue);
        QFETCH(bool, valid);
        QFETCH(int, parallel);
        QFETCH(QString, target);
        console::QueueLine parsed;
        QString error;
        QCOMPARE(console::parseQueueLine(line, &parsed, &error), isQueue);
        if (!isQueue) return;
        QCOMPARE(error.isEmpty(), valid);
        if (!valid) return;
        QCOMPARE(parsed.parallel, parallel);
        QCOMPARE(parsed.target, target);
    }
};

QTEST_GUILESS_MAIN(TstQueueRules)
#include "tst_queue_rules.moc"
