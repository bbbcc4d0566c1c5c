#pragma once
// Form2, the settings window: the list of named settings, the fields of the
// shown setting, the default's name and the buttons that manage them.

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvexo {

class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QWidget *parent = nullptr);

    QListWidget *List1 = nullptr;   // setting names
    QLineEdit *Text1 = nullptr;     // host address
    QLineEdit *Text3 = nullptr;     // user name
    QLineEdit *Text4 = nullptr;     // password
    QLineEdit *MaskEdBox1 = nullptr;  // port, at most two digits
    QLineEdit *Text5 = nullptr;     // setting name
    QLineEdit *Text6 = nullptr;     // the default's name
    QPushButton *Command3 = nullptr;  // Remove
    QPushButton *Command5 = nullptr;  // Initialize

private:
    void Form_Load();
};

} // namespace corvexo
