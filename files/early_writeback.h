#pragma once
// Starts the disk's writing of a growing file's data every few tens of MiB,
// without waiting for it, so that the flush when the file is committed has
// little left to do and the disk works while the network does. The writing
// is started on a pool thread (even starting it can wait for the disk's
// queue) on a duplicate of the file's descriptor, so the file may be closed
// at any time.

#include <QFileDevice>
#include <atomic>
#include <memory>

namespace corvexo {

class EarlyWriteback {
public:
    static constexpr qint64 StepBytes = 32 * 1024 * 1024;

    // Call after writing: starts the writing of what came since the last start,
    // once that is a step's worth and no earlier start is still running.
    void advance(QFileDevice &file);
    // The file was cut back: writing starts again from there.
    void restartAt(qint64 position) { from_ = position; }

private:
    qint64 from_ = 0;
    std::shared_ptr<std::atomic<bool>> running_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace corvexo
