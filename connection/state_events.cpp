#include "app/main_window.h"

namespace corvexo {

// TODO(state events): placeholder bodies until this part lands.
void Form1::Inet1_StateChanged(int State) { (void)State; }

} // namespace corvexo
