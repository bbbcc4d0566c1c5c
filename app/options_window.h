#pragma once
// The Options window: the number of parallel sessions of a queue and what to
// do with targets that exist. OK saves them to the program's own options
// file; a file that cannot be written says so and keeps the window open.

#include "queue/queue_options.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

namespace corvexo {

class OptionsWindow : public QDialog {
    Q_OBJECT
public:
    explicit OptionsWindow(const QString &path = queue::optionsPath(), QWidget *parent = nullptr);

    QSpinBox *sessions() const { return sessions_; }
    QComboBox *existing() const { return existing_; }
    queue::QueueOptions chosen() const;

    void accept() override;

private:
    QString path_;
    QSpinBox *sessions_;
    QComboBox *existing_;
};

} // namespace corvexo
