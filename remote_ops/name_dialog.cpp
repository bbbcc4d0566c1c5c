#include "name_dialog.h"
#include "app/main_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvexo {

Form3::Form3(Form1 *owner) : QDialog(owner), owner_(owner)
{
    Label1 = new QLabel(this);
    Text1 = new QLineEdit(this);
    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
}

// TODO(name dialog)
void Form3::open(const QString &caption, const QString &prompt)
{
    setWindowTitle(caption);
    Text1->clear();
    Label1->setText(prompt);
    show();
}

} // namespace corvexo
