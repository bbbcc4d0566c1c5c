#pragma once
// Form4, the about window: the program's name and version and two links.

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

private:
    void Form_Load();
};

} // namespace corvexo
