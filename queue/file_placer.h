#pragma once
// Gives finished downloads their names: a file keeps its hidden part name
// until it is on the disk, then replaces its target in one step. Files that
// finish close together share one sync, which runs, with the renaming,
// beside the window's thread. Finished files are gathered for a moment
// first: a sync per small file costs a journal commit each, and slows the
// creating of the next files.

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <utility>

namespace corvexo::queue {

class FilePlacer : public QObject {
    Q_OBJECT
public:
    static constexpr int GatherMs = 100;

    explicit FilePlacer(QObject *parent = nullptr);

    void place(qsizetype item, const QString &part, const QString &target);
    // Nothing more is coming soon: what was gathered goes now.
    void flush();
    bool idle() const { return !running_ && pending_.isEmpty() && unreported_ == 0; }

signals:
    // reason: empty when the file took its name.
    void placed(qsizetype item, const QString &reason);

private:
    struct Move {
        qsizetype item;
        QString part;
        QString target;
    };
    void startBatch();

    QList<Move> pending_;
    bool running_ = false;
    qsizetype unreported_ = 0;   // of the batch just placed, not yet told
    QTimer gather_;
};

} // namespace corvexo::queue
