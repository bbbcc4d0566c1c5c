// The explanation panel of Form2: the control that gets the focus, or that the
// pointer moves over, explains itself in Label7; losing the focus empties it.
#include "settings_window.h"
#include "app/strings/string_table.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace corvexo {

void Form2::watchForExplanations()
{
    const std::pair<QWidget *, int> table[] = {
        {Text5, 115}, {Text1, 111}, {MaskEdBox1, 112}, {Text3, 113}, {Text4, 114}, {Text6, 116},
        {List1, 110}, {Command1, 101}, {Command3, 103}, {Command4, 104}, {Command5, 105}, {Command6, 106}};
    for (const auto &[control, number] : table) {
        focusExplanations_.insert(control, number);
        control->installEventFilter(this);
        // The port field explains itself on focus only.
        if (control == MaskEdBox1) continue;
        QWidget *pointerTarget = control == List1 ? List1->viewport() : control;
        pointerTarget->setMouseTracking(true);
        pointerTarget->installEventFilter(this);
        pointerExplanations_.insert(pointerTarget, number);
    }
}

bool Form2::explainOnEvent(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        if (watched == Text6) Text6_GotFocus();
        else if (focusExplanations_.contains(watched)) showExplanation(focusExplanations_.value(watched));
        break;
    case QEvent::FocusOut:
        if (focusExplanations_.contains(watched)) Label7->setText(QString());
        break;
    case QEvent::MouseMove:
        if (pointerExplanations_.contains(watched)) showExplanation(pointerExplanations_.value(watched));
        break;
    default:
        break;
    }
    return false;  // the controls handle their events as usual
}

void Form2::showExplanation(int number)
{
    Label7->setText(QString());
    Label7->setText(text(number));
}

} // namespace corvexo
