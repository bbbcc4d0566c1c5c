#pragma once
// One entry of the transfer queue and the job it belongs to. Kept small: a
// queue may hold a hundred thousand items, so an item names its path once,
// relative to its job's two roots, and carries a reason only when it failed.

#include <QString>
#include <QtGlobal>

namespace corvexo::queue {

enum class Direction : quint8 { Download, Upload, Delete };
enum class ItemKind : quint8 { File, Folder, Link };
enum class ItemState : quint8 { Waiting, Running, Done, Skipped, Failed };

struct QueueJob {
    Direction direction = Direction::Download;
    QString localRoot;     // the local file or folder (none for a deletion)
    QString remoteRoot;    // the remote file or folder, absolute once walked
    bool walked = false;   // every item of the job is in the queue
};

struct QueueItem {
    QString relative;      // below the roots, parts joined by "/"; empty: the root itself
    qint64 size = -1;      // of the source; -1 unknown
    qint64 done = 0;       // bytes the target holds, parts kept from earlier attempts included
    qint64 modified = 0;   // the source's time, ms since 1970; 0 unknown
    QString reason;        // why it failed or was skipped, in the user's language
    quint32 job = 0;
    ItemKind kind = ItemKind::File;
    ItemState state = ItemState::Waiting;
    quint8 attempts = 0;   // failed attempts so far
};

// A root joined with a relative path.
inline QString joinedPath(const QString &root, const QString &relative)
{
    if (relative.isEmpty()) return root;
    return root.endsWith(u'/') ? root + relative : root + u'/' + relative;
}

inline bool isFinished(ItemState state)
{
    return state == ItemState::Done || state == ItemState::Skipped || state == ItemState::Failed;
}

} // namespace corvexo::queue

// Moved as bytes when a long queue's list grows, rather than one item at a time.
Q_DECLARE_TYPEINFO(corvexo::queue::QueueItem, Q_RELOCATABLE_TYPE);
