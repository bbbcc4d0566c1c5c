#include "app/main_window.h"
#include <QLabel>

namespace corvexo {

// TODO(toolbar): placeholder bodies until this part lands.
void Form1::Toolbar1_ButtonClick(int position) { (void)position; }
void Form1::assignToolbarTooltips() {}
void Form1::Text1_MouseMove() {}
void Form1::setStatusText(const QString &text) { statusLabel->setText(text); }
QString Form1::statusText() const { return statusLabel->text(); }

} // namespace corvexo
