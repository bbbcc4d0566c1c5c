#include "app/main_window.h"

namespace corvexo {

// TODO(local view): placeholder bodies until this part lands.
void Form1::Drive1_Change() {}
void Form1::Dir1_Change() {}
void Form1::Ftype() {}
void Form1::unPathF() {}
void Form1::LPathF() {}
void Form1::Text1_KeyDown(int key) { (void)key; }
void Form1::ListView1_FocusOrClick() {}
void Form1::ListView1_DblClick() {}
void Form1::ListView1_KeyDown(int key) { (void)key; }
void Form1::ListView1_MouseDown(Qt::MouseButton button, const QPoint &globalPos) { (void)button; (void)globalPos; }
void Form1::ListView1_DragDrop() {}
void Form1::connectLocalViewSignals() {}

} // namespace corvexo
