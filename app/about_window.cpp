#include "about_window.h"

#include <QLabel>

namespace corvexo {

Form4::Form4(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Corvexo..."));
    Label1 = new QLabel(this);
    Label2 = new QLabel(this);
    Label3 = new QLabel(this);
    Form_Load();
}

// TODO(about window)
void Form4::Form_Load()
{
    Label1->setText(QStringLiteral("Corvexo1.0 Beta2\r\nVersion: 1.0"));
}

} // namespace corvexo
