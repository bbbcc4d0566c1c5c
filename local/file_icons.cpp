#include "app/main_window.h"

namespace corvexo {

// TODO(file icons): placeholder body until this part lands.
void Form1::ITYPE() {}

} // namespace corvexo
