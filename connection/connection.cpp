#include "app/main_window.h"

namespace corvexo {

// TODO(connection): placeholder bodies until this part lands.
void Form1::con_Click() {}
void Form1::Combo1_Click(int index) { (void)index; }
void Form1::Connect() {}
void Form1::Discon_Click() {}
int Form1::executeCommand(const TransferCommand &command) { return Inet1->execute(command); }

} // namespace corvexo
