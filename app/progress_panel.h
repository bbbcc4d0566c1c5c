#pragma once
// Beside the status bar's text while a transfer or listing runs: a progress
// bar, a line with bytes, speed and time left (or entries so far), and a Stop
// button. Hidden otherwise.

#include "connection/transfer_facts.h"

#include <QElapsedTimer>
#include <QWidget>
#include <optional>

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
    // The queue's totals, shown while no transfer of the window's own runs; without
    // Stop, since Stop and Esc belong to the window's transfer (the Transfers window stops the queue).
    void reportQueue(const QString &text, std::optional<int> permille);
    void finishQueue();

signals:
    void stopRequested();

private:
    void showBar(std::optional<int> permille);

    QElapsedTimer sinceFirstReport_;
    bool showsQueue_ = false;
};

} // namespace corvexo
