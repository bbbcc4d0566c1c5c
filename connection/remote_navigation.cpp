#include "app/main_window.h"

namespace corvexo {

// TODO(remote navigation): placeholder bodies until this part lands.
void Form1::FCD(bool &UPone) { UPone = false; }
void Form1::CupD_Click() {}
void Form1::ListView2_FocusOrClick() {}
void Form1::ListView2_DblClick() {}
void Form1::ListView2_KeyDown(int key) { (void)key; }
void Form1::ListView2_MouseDown(Qt::MouseButton button, const QPoint &globalPos) { (void)button; (void)globalPos; }
void Form1::ListView2_BeforeLabelEdit() {}
void Form1::ListView2_DragDrop() {}
void Form1::connectRemoteListSignals() {}

} // namespace corvexo
