#pragma once
// Gives finished downloads their names: a file keeps its hidden part name
// until it is on the disk, then replaces its target in one step. Files that
// finish close together share one sync, which runs, with the renaming,
// beside the window's thread.

#include <QList>
#include <QObject>
#include <QString>
#include <utility>

namespace corvexo::queue {

class FilePlacer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void place(qsizetype item, const QString &part, const QString &target);
    bool idle() const { return !running_ && pending_.isEmpty(); }

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
};

} // namespace corvexo::queue
