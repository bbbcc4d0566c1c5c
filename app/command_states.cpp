#include "main_window.h"
#include "file_list_widget.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace corvexo {

void Form1::DItem(bool &Dis)
{
    if (!Dis) {
        con->setEnabled(false);
        toolbarButton(1)->setEnabled(false);
        toolbarButton(7)->setEnabled(false);
        Combo1->setEnabled(false);
        edit->menuAction()->setEnabled(false);
        help->menuAction()->setEnabled(false);
    } else {
        toolbarButton(1)->setEnabled(true);
        toolbarButton(7)->setEnabled(true);
        con->setEnabled(true);
        Combo1->setEnabled(true);
        // A failed connection must not lock the user out of the settings and the help.
        edit->menuAction()->setEnabled(true);
        help->menuAction()->setEnabled(true);
    }
    for (int position : {3, 5, 6}) toolbarButton(position)->setEnabled(false);
    // Disconnect (and the toolbar's Stop) stays at hand while a connection works, connecting included.
    toolbarButton(2)->setEnabled(Connected);
    Discon->setEnabled(Connected);
    Refr->setEnabled(false);
    ListView2->setEnabled(false);
    Dis = false;
}

void Form1::EItem()
{
    for (int position : {1, 2, 3, 5, 6, 7}) toolbarButton(position)->setEnabled(true);
    ListView2->setEnabled(true);
    Discon->setEnabled(true);
    con->setEnabled(true);
    Combo1->setEnabled(true);
    edit->menuAction()->setEnabled(true);
    help->menuAction()->setEnabled(true);
    Refr->setEnabled(true);
}

} // namespace corvexo
