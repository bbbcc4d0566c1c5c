// The unfinished queue written beside the queue's thread: the file ends as the
// last state asked for, whatever the model did meanwhile, even when the saver
// goes with a save still waiting.

#include "queue/queue_saver.h"
#include "queue/queue_store.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace corvexo;
using namespace corvexo::queue;

namespace {

QueueModel modelOf(int items)
{
    QueueModel model;
    model.addJob({Direction::Download, QStringLiteral("/home/u/in"), QStringLiteral("/pub"), true});
    for (int i = 0; i < items; ++i) {
        QueueItem item;
        item.relative = QStringLiteral("f%1.txt").arg(i);
        item.size = i;
        model.addItem(item);
    }
    return model;
}

// Items the saved file holds; -1: no file.
qsizetype savedItems(const QString &path)
{
    SavedQueue saved;
    return loadQueue(&saved, path) ? saved.model.size() : -1;
}

} // namespace

class TstQueueSaver : public QObject {
    Q_OBJECT
private slots:
    void lastStateAskedForIsKept_data()
    {
        QTest::addColumn<QList<int>>("states");   // items of each state saved in turn; 0: nothing left
        QTest::addColumn<bool>("destroyAtOnce");
        QTest::addColumn<qsizetype>("expected");
        QTest::newRow("one save") << QList<int> {3} << false << qsizetype(3);
        QTest::newRow("saves faster than the disk") << QList<int> {5, 2000, 7, 4} << false << qsizetype(4);
        QTest::newRow("ends with nothing to do") << QList<int> {5, 0} << false << qsizetype(-1);
        QTest::newRow("saver goes with a save waiting") << QList<int> {2000, 6} << true << qsizetype(6);
    }
    void lastStateAskedForIsKept()
    {
        QFETCH(QList<int>, states);
        QFETCH(bool, destroyAtOnce);
        QFETCH(qsizetype, expected);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("data/transfer-queue"));
        auto saver = std::make_unique<QueueSaver>();
        for (int items : states) saver->save({}, modelOf(items), path);
        if (destroyAtOnce) saver.reset();
        else QVERIFY(QTest::qWaitFor([&] { return saver->idle(); }, 20000));
        QCOMPARE(savedItems(path), expected);
    }

    void modelChangedAfterSaveIsNotWritten()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("transfer-queue"));
        QueueSaver saver;
        QSignalSpy saved(&saver, &QueueSaver::saved);
        QueueModel model = modelOf(1000);
        saver.save({}, model, path);
        model.setState(0, ItemState::Done);
        model.clearFinished();
        for (int i = 0; i < 500; ++i) model.addItem(model.item(0));
        QVERIFY(saved.wait(20000));
        QCOMPARE(saved.first().value(1).toString(), QString());
        QCOMPARE(savedItems(path), qsizetype(1000));
    }
};

QTEST_GUILESS_MAIN(TstQueueSaver)
#include "tst_queue_saver.moc"
