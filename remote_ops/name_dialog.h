#pragma once
// Form3, the name input dialog for rename and folder creation. It keeps no
// result: OK runs the main window's R or MKD, which read the typed name. The
// prompt alone tells the two uses apart.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvexo {

class Form1;

class Form3 : public QDialog {
    Q_OBJECT
public:
    explicit Form3(Form1 *owner);

    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QPushButton *Command1 = nullptr;  // OK
    QPushButton *Command2 = nullptr;  // Cancel

    // Sets caption and prompt, empties the name and shows the dialog modeless.
    void open(const QString &caption, const QString &prompt);

    void Command1_Click();
    void Command2_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void placeControls();
    Form1 *owner_;
};

} // namespace corvexo
