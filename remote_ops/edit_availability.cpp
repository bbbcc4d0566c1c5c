// Which Edit commands are offered for what the user points at: the local
// list's routine, the remote list's routine, and the Edit menu's opening.

#include "app/main_window.h"

#include "app/file_list_widget.h"
#include "remote_ops/edit_availability_table.h"

#include <QAction>

namespace corvexo {

namespace {

void apply(Form1 &window, const EditAvailability &on)
{
    window.UpL->setEnabled(on.upload);
    window.DownL->setEnabled(on.download);
    window.CupD->setEnabled(on.parentDir);
    window.Refr->setEnabled(on.refresh);
    window.FrDRname->setEnabled(on.rename);
    window.FMkD->setEnabled(on.makeDir);
    window.Fdelete->setEnabled(on.remove);
    window.toolbarButton(5)->setEnabled(on.downloadButton);
    window.toolbarButton(6)->setEnabled(on.uploadButton);
}

} // namespace

void Form1::eddiF()
{
    apply(*this, EditAvailability::allOff());
}

void Form1::eddiT()
{
    apply(*this, EditAvailability::allOn());
}

void Form1::EdDI1()
{
    if (const auto on = localListAvailability(Connected, ListView1->count(), ListView1->currentEntrySelected(),
                                              LMouseDown))
        apply(*this, *on);
    LPopup = false;
}

void Form1::EdDI2()
{
    if (const auto on = remoteListAvailability(Connected, ListView2->isEnabled(),
                                               ListView2->currentEntrySelected(), ListView2->currentEntryText()))
        apply(*this, *on);
}

void Form1::edit_Click()
{
    if (LPopup) EdDI1();
    else EdDI2();
}

} // namespace corvexo
