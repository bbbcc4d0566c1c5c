#include "app/main_window.h"

namespace corvexo {

// TODO(transfers): placeholder bodies until this part lands.
void Form1::CopyFromFTP() {}
void Form1::CopyToFTP() {}
void Form1::DownL_Click() {}
void Form1::UpL_Click() {}

} // namespace corvexo
