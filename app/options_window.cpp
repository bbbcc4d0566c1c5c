#include "options_window.h"

#include "message_box.h"
#include "queue_window_texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace corvexo {

namespace {

using queue::ExistingChoice;
using T = QueueWindowText;

constexpr std::pair<ExistingChoice, QueueWindowText> Choices[] = {
    {ExistingChoice::Ask, T::ExistingAsk},       {ExistingChoice::Overwrite, T::ExistingOverwrite},
    {ExistingChoice::OverwriteIfNewer, T::ExistingNewer}, {ExistingChoice::Resume, T::ExistingResume},
    {ExistingChoice::Rename, T::ExistingRename}, {ExistingChoice::Skip, T::ExistingSkip},
};

} // namespace

OptionsWindow::OptionsWindow(const QString &path, QWidget *parent)
    : QDialog(parent), path_(path), sessions_(new QSpinBox(this)), existing_(new QComboBox(this))
{
    setWindowTitle(queueWindowText(T::OptionsTitle));
    const queue::QueueOptions options = queue::loadOptions(path_);
    sessions_->setRange(queue::QueueOptions::MinSessions, queue::QueueOptions::MaxSessions);
    sessions_->setValue(options.parallelSessions);
    for (const auto &[choice, text] : Choices) {
        existing_->addItem(queueWindowText(text), int(choice));
        if (choice == options.existingTargets) existing_->setCurrentIndex(existing_->count() - 1);
    }
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(queueWindowText(T::Ok), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(queueWindowText(T::Cancel), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsWindow::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsWindow::reject);
    auto *form = new QFormLayout(this);
    form->addRow(queueWindowText(T::ParallelSessions), sessions_);
    form->addRow(queueWindowText(T::ExistingTargets), existing_);
    form->addRow(buttons);
}

queue::QueueOptions OptionsWindow::chosen() const
{
    return {sessions_->value(), ExistingChoice(existing_->currentData().toInt())};
}

void OptionsWindow::accept()
{
    const QString reason = queue::saveOptions(chosen(), path_);
    if (reason.isEmpty()) return QDialog::accept();
    showMessage(this, queueWindowText(T::OptionsNotSaved).arg(path_, reason));
}

} // namespace corvexo
