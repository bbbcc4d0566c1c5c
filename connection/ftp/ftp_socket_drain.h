#pragma once
// The last part of ending a data connection we sent on: the write side is
// shut down, so the server reads a clean end, and whatever it still sends is
// read and dropped until it closes (or a short bound passes) before the
// descriptor is closed. Closing with unread bytes would send a reset, and a
// reset makes the server's system drop the end of the file it has not read yet.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace corvexo::ftp {

class FtpSocketDrain : public QObject {
    Q_OBJECT
public:
    static constexpr int BoundMs = 3000;

    // Takes descriptor over (it is closed when the drain ends) and ends by itself.
    FtpSocketDrain(int descriptor, QObject *parent);
    ~FtpSocketDrain() override;

private:
    void readAndDrop();
    void end();

    int descriptor_;
    QSocketNotifier notifier_;
    QTimer bound_;
};

} // namespace corvexo::ftp
