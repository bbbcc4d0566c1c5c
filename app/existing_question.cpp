#include "existing_question.h"

#include "queue_window_texts.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace corvexo {

namespace {

using queue::ExistingChoice;

// Set by tests only, before any window asks.
ExistingAnswerer &answerer()
{
    static ExistingAnswerer current;
    return current;
}

QString choiceText(ExistingChoice choice)
{
    using T = QueueWindowText;
    switch (choice) {
    case ExistingChoice::Overwrite: return queueWindowText(T::ExistingOverwrite);
    case ExistingChoice::OverwriteIfNewer: return queueWindowText(T::ExistingNewer);
    case ExistingChoice::Resume: return queueWindowText(T::ExistingResume);
    case ExistingChoice::Rename: return queueWindowText(T::ExistingRename);
    case ExistingChoice::Skip:
    case ExistingChoice::Ask: break;
    }
    return queueWindowText(T::ExistingSkip);
}

ExistingAnswer askWithBox(QWidget *parent, const queue::ExistingQuestion &question,
                          const QList<ExistingChoice> &choices)
{
    QMessageBox box(QMessageBox::NoIcon, queueWindowText(QueueWindowText::TransfersTitle),
                    existingQuestionText(question), QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (ExistingChoice choice : choices)
        buttons << box.addButton(choiceText(choice), choice == ExistingChoice::Skip ? QMessageBox::RejectRole
                                                                                    : QMessageBox::AcceptRole);
    box.setDefaultButton(static_cast<QPushButton *>(buttons.last()));  // Skip: nothing is lost
    box.setEscapeButton(buttons.last());
    auto *rest = new QCheckBox(queueWindowText(QueueWindowText::ForTheRest), &box);
    box.setCheckBox(rest);
    box.exec();
    const qsizetype picked = buttons.indexOf(box.clickedButton());
    return {picked < 0 ? ExistingChoice::Skip : choices[picked], rest->isChecked()};
}

} // namespace

QList<ExistingChoice> existingChoicesFor(const queue::ExistingQuestion &question)
{
    QList<ExistingChoice> choices{ExistingChoice::Overwrite, ExistingChoice::OverwriteIfNewer};
    const qint64 source = question.sourceFacts.size, target = question.targetFacts.size;
    if (source >= 0 && target >= 0 && target < source) choices << ExistingChoice::Resume;
    choices << ExistingChoice::Rename << ExistingChoice::Skip;
    return choices;
}

QString existingQuestionText(const queue::ExistingQuestion &question)
{
    return queueWindowText(QueueWindowText::ExistingQuestion).arg(question.target);
}

ExistingAnswer askExistingTarget(QWidget *parent, const queue::ExistingQuestion &question)
{
    const QList<ExistingChoice> choices = existingChoicesFor(question);
    ExistingAnswer answer = answerer() ? answerer()(question, choices) : askWithBox(parent, question, choices);
    // Only an offered choice is taken; anything else leaves the target alone.
    if (!choices.contains(answer.choice)) answer.choice = ExistingChoice::Skip;
    return answer;
}

void setExistingAnswerer(ExistingAnswerer replacement)
{
    answerer() = std::move(replacement);
}

} // namespace corvexo
