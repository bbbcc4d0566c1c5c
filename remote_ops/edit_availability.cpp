#include "app/main_window.h"

namespace corvexo {

// TODO(edit availability): placeholder bodies until this part lands.
void Form1::eddiF() {}
void Form1::eddiT() {}
void Form1::EdDI1() {}
void Form1::EdDI2() {}
void Form1::edit_Click() {}

} // namespace corvexo
