#include "app/main_window.h"

namespace corvexo {

// TODO(edit commands): placeholder bodies until this part lands.
void Form1::FrDRname_Click() {}
void Form1::R() {}
void Form1::FMkD_Click() {}
void Form1::MKD() {}
void Form1::Fdelete_Click() {}

} // namespace corvexo
