#pragma once
// Beside the status bar's text while a transfer or listing runs: a progress
// bar, a line with bytes, speed and time left (or entries so far), and a Stop
// button. Hidden otherwise.

#include "connection/transfer_facts.h"

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace corvexo {

class ProgressPanel : public QWidget {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget *parent = nullptr);

    QProgressBar *bar = nullptr;
    QLabel *line = nullptr;
    QPushButton *stopButton = nullptr;

    // Shows the panel (timing the transfer from its first report) and what the report says.
    void report(const TransferProgress &progress);
    // The command ended: the panel goes, and the next report starts a new timing.
    void finish();

signals:
    void stopRequested();

private:
    QElapsedTimer sinceFirstReport_;
};

} // namespace corvexo
