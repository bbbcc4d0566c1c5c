#pragma once
// Runs command texts read from standard input on the real transfer control,
// one at a time, and prints what the control reports.

#include "connection/ftp/ftp_transfer_control.h"

#include <QTextStream>

namespace corvexo::console {

class ConsoleRunner : public QObject {
    Q_OBJECT
public:
    ConsoleRunner(QTextStream &input, QTextStream &output, QObject *parent = nullptr);

    FtpTransferControl &control() { return control_; }
    void start();   // reads the first line once the event loop runs

signals:
    void done(int exitCode);

private:
    void runNextLine();
    void onStateChanged(int state);
    void printError(int code, const QString &info);

    QTextStream &input_;
    QTextStream &output_;
    FtpTransferControl control_;
    bool listing_ = false;
    bool running_ = false;
};

} // namespace corvexo::console
