#include "app/main_window.h"

namespace corvexo {

// TODO(click animation): placeholder bodies until this part lands.
void Form1::Picture1_Click() {}
void Form1::picIv() {}

} // namespace corvexo
