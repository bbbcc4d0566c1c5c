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

void addItems(QueueModel &model, int count)
{
    if (model.jobs().isEmpty()) model.addJob({Direction::Download, QStringLiteral("/home/u/in"), QStringLiteral("/pub"), true});
    for (int i = 0; i < count; ++i) {
        QueueItem item;
        item.relative = QStringLiteral("f%1.txt").arg(model.size());
        model.addItem(item);
    }
}

void finishAll(QueueModel &model)
{
    for (qsizetype i = 0; i < model.size(); ++i) model.setState(i, ItemState::Done);
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
        // Each step: n > 0 adds n items and saves; 0 finishes them all and saves;
        // -1 finishes and clears them all, without a save.
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<bool>("destroyAtOnce");
        QTest::addColumn<qsizetype>("expected");   // items in the file; -1: no file
        QTest::newRow("saves faster than the disk") << QList<int> {5, 9000, 7} << false << qsizetype(9012);
        QTest::newRow("ends with nothing to do") << QList<int> {5, 0} << false << qsizetype(-1);
        QTest::newRow("items cleared while the text is made") << QList<int> {9000, -1, 4} << false << qsizetype(4);
        QTest::newRow("saver goes with a save unfinished") << QList<int> {9000, 6} << true << qsizetype(9006);
    }
    void lastStateAskedForIsKept()
    {
        QFETCH(QList<int>, steps);
        QFETCH(bool, destroyAtOnce);
        QFETCH(qsizetype, expected);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("data/transfer-queue"));
        QueueModel model;
        auto saver = std::make_unique<QueueSaver>(&model);
        for (int step : steps) {
            if (step > 0) addItems(model, step);
            else finishAll(model);
            if (step < 0) model.clearFinished();
            else saver->save({}, path);
        }
        if (destroyAtOnce) saver.reset();
        else QVERIFY(QTest::qWaitFor([&] { return saver->idle(); }, 20000));
        QCOMPARE(savedItems(path), expected);
    }
};

QTEST_GUILESS_MAIN(TstQueueSaver)
#include "tst_queue_saver.moc"
