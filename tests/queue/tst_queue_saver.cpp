// The unfinished queue written beside the queue's thread: the file ends as the
// last state asked for, even when the saver goes with a save still waiting.

#include "queue/queue_saver.h"
#include "queue/queue_store.h"

#include <QFileInfo>
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
};

QTEST_GUILESS_MAIN(TstQueueSaver)
#include "tst_queue_saver.moc"
