#pragma once
// Runs command texts read from standard input on the real transfer control,
// one at a time, and prints what the control reports.

#include "connection/ftp/ftp_transfer_control.h"
#include "queue_run.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QTimer>

namespace corvexo::console {

class ConsoleRunner : public QObject {
    Q_OBJECT
public:
    ConsoleRunner(QTextStream &input, QTextStream &output, QObject *parent = nullptr);

    FtpTransferControl &control() { return control_; }
    // Where "get -r", "put -r" and "delete -r" log in: their queue's sessions are their own.
    void setQueueLogin(const SessionLogin &login, const QString &trustedFingerprint);
    // Also prints the time each command took, and at the end the longest
    // stall of the event loop (a timer meant to tick every 10 ms) and the peak memory.
    void setBenchmark(bool on) { benchmark_ = on; }
    void start();   // reads the first line once the event loop runs
    void printBenchmarkSummary();

signals:
    void done(int exitCode);

private:
    void runNextLine();
    void onStateChanged(int state);
    void printError(int code, const QString &info);
    void runQueue(const QueueLine &line);

    QTextStream &input_;
    QTextStream &output_;
    FtpTransferControl control_;
    SessionLogin queueLogin_;
    QString trustedFingerprint_;
    std::unique_ptr<QueueRun> queueRun_;
    void onTick();

    bool listing_ = false;
    bool running_ = false;
    bool benchmark_ = false;
    QElapsedTimer commandClock_;
    QElapsedTimer tickClock_;
    QTimer ticker_;
    qint64 longestStallMs_ = 0;
};

} // namespace corvexo::console
