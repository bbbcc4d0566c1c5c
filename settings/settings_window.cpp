#include "settings_window.h"
#include "settings_store.h"
#include "app/strings/string_table.h"

#include <QCloseEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>

namespace corvexo {

namespace {

// Places and sizes are kept in twips, 15 to a pixel.
QRect twips(int left, int top, int width, int height)
{
    return {left / 15, top / 15, width / 15, height / 15};
}

// A one-line caption narrower than its text gets a smaller font rather than being cut.
void fitOnOneLine(QLabel *label)
{
    QFont font = label->font();
    while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(label->text()) > label->width())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
}

// A caption beside its field ends where the field begins.
void fitBeforeField(QLabel *label, const QWidget *field)
{
    constexpr int gap = 3;
    label->resize(field->x() - label->x() - gap, label->height());
    label->setWordWrap(false);
    fitOnOneLine(label);
}

template <typename Widget>
Widget *place(Widget *widget, const QRect &geometry)
{
    widget->setGeometry(geometry);
    return widget;
}

} // namespace

Form2::Form2(QWidget *parent) : QDialog(parent)
{
    setWindowFlag(Qt::Window);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(kClientSize);
    // The controls are sized for a small dialog font; a larger one would cut the captions.
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    createControls();
    setFieldTabOrder();
    connectButtons();
    watchForExplanations();
}

Form2::~Form2()
{
    forgetSettingsWindow(this);
}

void Form2::createControls()
{
    Label6 = place(new QLabel(this), twips(120, 120, 975, 495));
    Text5 = place(new QLineEdit(this), twips(1320, 120, 2895, 375));
    Label1 = place(new QLabel(this), twips(120, 600, 975, 495));
    Text1 = place(new QLineEdit(this), twips(1320, 600, 2895, 375));
    Label3 = place(new QLabel(this), twips(120, 1080, 1455, 375));
    MaskEdBox1 = place(new QLineEdit(this), twips(1320, 1080, 735, 375));
    // Digits only, as many as a port needs; the range is checked when the setting is taken over.
    MaskEdBox1->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), MaskEdBox1));
    MaskEdBox1->setMaxLength(5);
    Label4 = place(new QLabel(this), twips(120, 1560, 1455, 375));
    Text3 = place(new QLineEdit(this), twips(1320, 1560, 2895, 375));
    Label5 = place(new QLabel(this), twips(120, 2040, 1335, 375));
    Text4 = place(new QLineEdit(this), twips(1320, 2040, 2895, 375));
    Text4->setEchoMode(QLineEdit::Password);
    Text4->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    Command6 = place(new QPushButton(this), twips(480, 2520, 3735, 375));
    Label8 = place(new QLabel(this), twips(120, 3000, 3135, 255));
    Text6 = place(new QLineEdit(this), twips(3120, 3000, 4095, 270));
    Text6->setReadOnly(true);
    Text6->setStyleSheet(QStringLiteral("QLineEdit { background-color: rgb(64, 64, 64); color: rgb(255, 255, 192); }"));
    Text6->setCursor(Qt::PointingHandCursor);
    Command5 = place(new QPushButton(this), twips(120, 3480, 975, 375));
    Command3 = place(new QPushButton(this), twips(1200, 3480, 1335, 375));
    Command4 = place(new QPushButton(this), twips(2640, 3480, 1215, 375));
    Command4->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(255, 255, 192); }"));
    Command1 = place(new QPushButton(this), twips(6000, 3480, 1215, 375));
    Command1->setStyleSheet(QStringLiteral("QPushButton { background-color: rgb(255, 224, 192); }"));
    Label2 = place(new QLabel(this), twips(4440, 120, 2895, 495));
    List1 = place(new QListWidget(this), twips(4440, 360, 2775, 960));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setSortingEnabled(false);
    Frame1 = place(new QGroupBox(this), twips(4440, 1440, 2775, 1455));
    Label7 = place(new QLabel(Frame1), twips(120, 240, 2535, 1095));
    Label7->setWordWrap(true);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel *label : {Label6, Label1, Label3, Label4, Label5}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(true);
    }
    for (QLabel *label : {Label6, Label1, Label2}) label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Form2::setFieldTabOrder()
{
    QWidget *const order[] = {Text5, Text1, MaskEdBox1, Text3, Text4, Command6,
                              Command1, Command4, Command3, Command5, List1, Text6};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
    for (QLabel *label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8})
        label->setFocusPolicy(Qt::NoFocus);
}

void Form2::connectButtons()
{
    // Enter presses only the focused button (as the focused button does); the
    // fields move the focus on instead of pressing a default button.
    for (QPushButton *button : {Command1, Command3, Command4, Command5, Command6}) {
        button->setAutoDefault(true);
        button->setDefault(false);
    }
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Command6_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(List1, &QListWidget::itemClicked, this, &Form2::List1_Click);
    connect(List1, &QListWidget::itemSelectionChanged, this, &Form2::List1_Click);
}

QString Form2::portValue() const
{
    return MaskEdBox1->text().trimmed();
}

void Form2::Form_Load()
{
    Label1->setText(text(107) + QStringLiteral("\r\n") + text(108));
    setWindowTitle(text(109));
    Label6->setText(text(177));
    Label3->setText(text(178));
    fitBeforeField(Label3, MaskEdBox1);
    Label4->setText(text(179));
    fitBeforeField(Label4, Text3);
    Label5->setText(text(180));
    fitBeforeField(Label5, Text4);
    Label2->setText(text(181));
    fitOnOneLine(Label2);
    Label8->setText(text(182));
    fitOnOneLine(Label8);
    Command6->setText(text(183));
    Command5->setText(text(184));
    Command3->setText(text(185));
    Command4->setText(text(186));
    Frame1->setTitle(text(187));
    Command1->setText(QStringLiteral("OK(&O)"));
    LoadList();
    ShowSettings();
}

void Form2::List1_Click()
{
    if (List1->currentRow() >= 0) ShowItem();
}

void Form2::Text6_GotFocus()
{
    showExplanation(116);
    const QString name = Text6->text();
    if (name.isEmpty()) return;
    for (int i = 0; i < List1->count(); ++i) {
        if (List1->item(i)->text() == name) {
            List1->setCurrentRow(i);
            ShowItem();
            return;
        }
    }
}

void Form2::Command1_Click()
{
    bool preOK = true, preAdd = false, deSITM = false;
    OKB(preOK, preAdd, deSITM);
    hide();
}

void Form2::Command4_Click()
{
    bool preOK = false, preAdd = true, deSITM = false;
    OKB(preOK, preAdd, deSITM);
    LoadList();
    ShowSettings();
}

void Form2::Command6_Click()
{
    bool preOK = false, preAdd = false, deSITM = true;
    OKB(preOK, preAdd, deSITM);
    ShowSettings();
}

void Form2::Command3_Click()
{
    bool clearAll = false;
    ClorRe(clearAll);
}

void Form2::Command5_Click()
{
    bool clearAll = true;
    ClorRe(clearAll);
}

void Form2::placeWindow()
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    if (size() != kClientSize) resize(kClientSize);
    const QScreen *where = screen() ? screen() : QGuiApplication::primaryScreen();
    const QPoint origin = where ? where->geometry().topLeft() : QPoint();
    if (pos() != origin + kScreenPlace) move(origin + kScreenPlace);
}

void Form2::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeWindow();
}

void Form2::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    placeWindow();
}

void Form2::keyPressEvent(QKeyEvent *event)
{
    // Esc closes the window only from the OK button, and Enter only moves on
    // from a field or presses the focused button; neither reaches the dialog.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void Form2::closeEvent(QCloseEvent *event)
{
    // Closing destroys the window; the next opening loads a new one.
    forgetSettingsWindow(this);
    event->accept();
    deleteLater();
}

bool Form2::moveToNextField(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == Command1 && key->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    const std::pair<QWidget *, QWidget *> next[] = {
        {Text5, Text1}, {Text1, MaskEdBox1}, {MaskEdBox1, Text3}, {Text3, Text4}, {Text4, Command1}};
    for (const auto &[from, to] : next) {
        if (watched != from) continue;
        to->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    if (moveToNextField(watched, event)) return true;
    if (explainOnEvent(watched, event)) return true;
    return QDialog::eventFilter(watched, event);
}

} // namespace corvexo
