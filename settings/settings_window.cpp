#include "settings_window.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace corvexo {

Form2::Form2(QWidget *parent) : QDialog(parent)
{
    setWindowFlag(Qt::Window);
    List1 = new QListWidget(this);
    Text1 = new QLineEdit(this);
    Text3 = new QLineEdit(this);
    Text4 = new QLineEdit(this);
    MaskEdBox1 = new QLineEdit(this);
    Text5 = new QLineEdit(this);
    Text6 = new QLineEdit(this);
    Command3 = new QPushButton(this);
    Command5 = new QPushButton(this);
    Form_Load();
}

// TODO(settings window): layout, captions, buttons, validation.
void Form2::Form_Load() {}

} // namespace corvexo
