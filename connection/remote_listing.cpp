#include "app/main_window.h"

namespace corvexo {

// TODO(remote listing): placeholder bodies until this part lands.
void Form1::d() {}
void Form1::Refr_Click() {}
void Form1::InAndOutTMFile() {}
int Form1::ADDTM() const { return 3; }
QString Form1::readWholeAnswer() { return {}; }

} // namespace corvexo
