#include "name_dialog.h"

#include "app/main_window.h"
#include "app/strings/string_table.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvexo {

namespace {

constexpr int kTwipsPerPixel = 15;

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

} // namespace

Form3::Form3(Form1 *owner) : QDialog(owner), owner_(owner)
{
    setWindowTitle(QStringLiteral("Form3"));
    setModal(false);
    Label1 = new QLabel(this);
    Text1 = new QLineEdit(this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    // Enter belongs to the text box alone; no button takes it as the default.
    for (QPushButton *button : {Command1, Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    placeControls();
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form3::Command2_Click);
    connect(Text1, &QLineEdit::returnPressed, this, &Form3::Command1_Click);
}

void Form3::placeControls()
{
    Label1->setGeometry(twipsRect(120, 120, 3135, 375));
    Text1->setGeometry(twipsRect(120, 480, 3135, 375));
    Command1->setGeometry(twipsRect(3360, 480, 975, 375));
    Command2->setGeometry(twipsRect(3360, 120, 975, 375));
    setFixedSize(4425 / kTwipsPerPixel, 930 / kTwipsPerPixel);
    setTabOrder(Text1, Command1);
    setTabOrder(Command1, Command2);
    Label1->setFocusPolicy(Qt::NoFocus);
}

void Form3::open(const QString &caption, const QString &prompt)
{
    setWindowTitle(caption);
    Text1->clear();
    Label1->clear();
    Label1->setText(prompt);
    show();
    raise();
    activateWindow();
    Text1->setFocus(Qt::OtherFocusReason);
}

void Form3::Command1_Click()
{
    // An empty name sends nothing; the dialog stays for the user to type one.
    const bool nameGiven = !Text1->text().isEmpty();
    if (Label1->text() == text(153)) owner_->R();
    else owner_->MKD();
    if (nameGiven) hide();
}

void Form3::Command2_Click()
{
    hide();
}

void Form3::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace corvexo
