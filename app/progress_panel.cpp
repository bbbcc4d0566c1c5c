#include "progress_panel.h"
#include "progress_texts.h"
#include "strings/string_table.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace corvexo {

namespace {

QString stopCaption()
{
    return uiLanguage() == UiLanguage::Japanese ? QStringLiteral("中止") : QStringLiteral("Stop");
}

} // namespace

ProgressPanel::ProgressPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    line = new QLabel(this);
    bar = new QProgressBar(this);
    bar->setRange(0, 1000);
    bar->setTextVisible(false);
    bar->setFixedWidth(60);  // narrow, so that the figures beside it stay whole at 600 pixels
    stopButton = new QPushButton(stopCaption(), this);
    stopButton->setFocusPolicy(Qt::NoFocus);  // the lists keep the focus
    layout->addWidget(line);
    layout->addWidget(bar);
    layout->addWidget(stopButton);
    connect(stopButton, &QPushButton::clicked, this, &ProgressPanel::stopRequested);
    hide();
}

void ProgressPanel::report(const TransferProgress &progress)
{
    if (!sinceFirstReport_.isValid()) sinceFirstReport_.start();
    showsQueue_ = false;
    stopButton->show();
    showBar(progressPermille(progress));
    line->setText(progressLine(progress, sinceFirstReport_.elapsed()));
    show();
}

void ProgressPanel::showBar(std::optional<int> permille)
{
    if (permille) {
        bar->setRange(0, 1000);
        bar->setValue(*permille);
    } else {
        bar->setRange(0, 0);  // moving to and fro: the total is not known
    }
}

void ProgressPanel::reportQueue(const QString &text, std::optional<int> permille)
{
    if (sinceFirstReport_.isValid()) return;   // the window's own transfer keeps the panel
    showsQueue_ = true;
    stopButton->hide();
    showBar(permille);
    line->setText(text);
    show();
}

void ProgressPanel::finishQueue()
{
    if (!std::exchange(showsQueue_, false)) return;
    stopButton->show();
    hide();
    line->clear();
}

void ProgressPanel::finish()
{
    sinceFirstReport_.invalidate();
    hide();
    line->clear();
}

} // namespace corvexo
