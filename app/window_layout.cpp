#include "app/main_window.h"
#include <QResizeEvent>

namespace corvexo {

// TODO(window layout): placeholder bodies until this part lands.
void Form1::Form_Resize() {}
void Form1::resizeEvent(QResizeEvent *event) { QMainWindow::resizeEvent(event); Form_Resize(); }
void Form1::changeEvent(QEvent *event) { QMainWindow::changeEvent(event); }

} // namespace corvexo
