#pragma once
// Form4, the about window: the program's name and version and two links.

#include <QPixmap>
#include <QUrl>
#include <QWidget>

class QLabel;

namespace corvexo {

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;  // mail link
    QLabel *Label3 = nullptr;  // web link

    static QUrl mailTarget();
    static QUrl webTarget();

    void Label2_Click();
    void Label3_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Load();
    void watchLink(QLabel *label, const QString &tooltip, void (Form4::*click)());
    static void fitWhole(QLabel *label, int bottom);
    QPixmap background_;
};

} // namespace corvexo
