// Memory of a long transfer queue (run by hand, not a test): the queue model
// holding N file items with camera- and log-like paths, the Transfers window's
// model and table over it, and the time the window's thread spends on one
// save of the unfinished queue. Prints the peak resident size after each step.
//
//   corvexo-queue-bench [items=100000]
// Run with QT_QPA_PLATFORM=offscreen when no display is at hand.

#include "app/transfer_list_model.h"
#include "app/transfers_window.h"
#include "queue/queue_store.h"
#include "queue/transfer_queue.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <sys/resource.h>

using namespace corvexo;
using namespace corvexo::queue;

namespace {

long peakKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void report(const char *step, long baseKiB)
{
    std::printf("%-52s %8.1f MB\n", step, double(peakKiB() - baseKiB) / 1024.0);
    std::fflush(stdout);
}

// Folders of 1,000 files, three levels down, names as cameras and log servers give them.
QueueModel filledModel(int items)
{
    QueueModel model;
    const quint32 job = model.addJob({Direction::Download, QStringLiteral("/home/someone/Downloads/site backup"),
                                      QStringLiteral("/srv/ftp/exports/site backup"), true});
    for (int i = 0; i < items; ++i) {
        QueueItem item;
        item.relative = QStringLiteral("camera %1/2026-%2/DCIM/IMG_%3.JPG")
                            .arg(i / 10000)
                            .arg(i / 1000 % 12 + 1, 2, 10, QLatin1Char('0'))
                            .arg(i, 7, 10, QLatin1Char('0'));
        item.size = 1000 + i % 50000;
        item.modified = 1780000000000LL + i;
        item.job = job;
        model.addItem(std::move(item));
    }
    return model;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int items = argc > 1 ? std::atoi(argv[1]) : 100000;
    const long base = peakKiB();
    std::printf("%d items; peak resident growth over the start (%ld KiB):\n", items, base);

    QueueModel model = filledModel(items);
    report("queue model", base);

    TransferQueue queue([] { return std::unique_ptr<TransferSession>(); }, SessionLogin {});
    queue.restore(model);
    queue.stopAll();   // held still: no session is ever asked for
    model = QueueModel();
    report("  + transfer queue holding them (sample dropped)", base);

    TransfersWindow window(&queue);
    window.show();
    QTest::qWait(200);
    report("  + Transfers window shown over them", base);

    QTemporaryDir folder;
    QElapsedTimer clock;
    clock.start();
    const QString failure = saveQueue(SessionLogin {}, queue.model(), folder.filePath(QStringLiteral("queue")));
    std::printf("one save of the unfinished queue (beside the window's thread): %lld ms%s\n", clock.elapsed(),
                failure.isEmpty() ? "" : qPrintable(QStringLiteral(" (failed: %1)").arg(failure)));
    clock.restart();
    for (qsizetype i = 0; i < queue.model().size(); i += 1) emit queue.itemChanged(i);
    std::printf("a change told for every item: %lld ms\n", clock.elapsed());
    report("after saving", base);

    // What the window's thread pays for a save: the text of one slice of items per turn.
    QByteArray slice;
    clock.restart();
    appendQueueItems(slice, queue.model(), 0, QueueSaver::ItemsPerSlice);
    std::printf("one slice of %lld items made: %lld ms\n", qlonglong(QueueSaver::ItemsPerSlice), clock.elapsed());
    return 0;
}
