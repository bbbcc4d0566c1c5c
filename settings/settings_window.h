#pragma once
// Form2, the settings window: the list of named settings, the fields of the
// shown setting, the default's name, the buttons that manage them and a panel
// that explains the control in hand. Only settingsWindow() creates it, so that
// the store knows the window before its load step fills it.

#include <QDialog>
#include <QHash>
#include <QPoint>
#include <QSize>
#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace corvexo {

class Form2 : public QDialog {
    Q_OBJECT
public:
    ~Form2() override;

    // The client area and the outer window's place on the screen, in pixels.
    static constexpr QSize kClientSize{7335 / 15, 3960 / 15};
    static constexpr QPoint kScreenPlace{2745 / 15, 2430 / 15};

    QLabel *Label6 = nullptr;
    QLineEdit *Text5 = nullptr;     // setting name
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;     // host address
    QLabel *Label3 = nullptr;
    QLineEdit *MaskEdBox1 = nullptr;  // port: up to five digits
    QLabel *Label4 = nullptr;
    QLineEdit *Text3 = nullptr;     // user name
    QLabel *Label5 = nullptr;
    QLineEdit *Text4 = nullptr;     // password, shown as "*"
    QPushButton *Command6 = nullptr;  // Set-default
    QLabel *Label8 = nullptr;
    QLineEdit *Text6 = nullptr;     // the default's name, written by the program only
    QPushButton *Command5 = nullptr;  // Initialize
    QPushButton *Command3 = nullptr;  // Remove
    QPushButton *Command4 = nullptr;  // Add
    QPushButton *Command1 = nullptr;  // OK
    QLabel *Label2 = nullptr;
    QListWidget *List1 = nullptr;   // setting names, in list order
    QGroupBox *Frame1 = nullptr;    // explanation panel
    QLabel *Label7 = nullptr;       // the explanation

    QString Problems;  // built by LMBoo

    // The port field's value: its text (digits when typed), or the empty text.
    QString portValue() const;

    // --- load and window events ---
    void Form_Load();
    void List1_Click();
    void Text6_GotFocus();

    // --- buttons ---
    void Command1_Click();  // OK
    void Command4_Click();  // Add
    void Command6_Click();  // Set-default
    void Command3_Click();  // Remove
    void Command5_Click();  // Initialize

    // --- validation (settings_validation.cpp) ---
    void OKB(bool &PreOK, bool &PreAdd, bool &DeSITM);
    void LMBoo(bool &bURL, bool &bPWO, bool &bUNM, bool &bPOR, bool &bLIT);
    void MunlessS();

    // --- removal and clearing (settings_removal.cpp) ---
    void ClorRe(bool &CRtheItem);
    void DlDefaultItem(bool &CorD, int CntI);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    explicit Form2(QWidget *parent);
    friend Form2 *settingsWindow();

    void createControls();
    void setFieldTabOrder();
    void connectButtons();
    void placeWindow();
    bool moveToNextField(QObject *watched, QEvent *event);  // Enter on a field, Esc on OK

    // --- explanations (settings_explanations.cpp) ---
    void watchForExplanations();
    bool explainOnEvent(QObject *watched, QEvent *event);
    void showExplanation(int number);

    QHash<QObject *, int> focusExplanations_;  // control -> string number
    QHash<QObject *, int> pointerExplanations_;
};

} // namespace corvexo
