#include "state_texts.h"

#include "app/file_list_widget.h"
#include "app/elided_label.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "connection/certificate_messages.h"
#include "connection/session_security_view.h"
#include "settings/settings_store.h"

#include <QAction>

namespace corvexo {

void Form1::Inet1_StateChanged(int State)
{
    DItem();
    switch (State) {
    case TransferState::Connected:
        setStatusText(loggedInStatusText(CurrentSetting[3]));
        setWindowTitle(text(stateCaptionNumber(State)));
        break;
    case TransferState::Disconnected:
        setWindowTitle(text(stateCaptionNumber(State)));
        Discon_Click();
        break;
    case TransferState::Error:
        reportConnectionError();
        break;
    case TransferState::ResponseCompleted:
        dispatchCompletion();
        break;
    default:
        if (const int number = stateCaptionNumber(State)) setWindowTitle(text(number));
        break;
    }
    marksOfRunningCommand = operationMarks();
    showRemoteFolder();
}

void Form1::showRemoteFolder()
{
    remotePath->setText(Connected ? Inet1->currentFolder() : QString());
}

void Form1::reportConnectionError()
{
    // Read before the box: the control may move on while the box is open.
    const bool sessionKept = Connected && Inet1->sessionOpen();
    if (securityView && securityView->takeCertificateRefusal()) {
        setWindowTitle(text(163));
        showMessage(this, certificateRefusedText());
        return Discon_Click();
    }
    const QString message = connectionErrorMessage(Inet1->responseCode(), Inet1->responseInfo());
    setWindowTitle(text(164));
    showMessage(this, message);
    if (sessionKept) return readyAfterRefusal();
    Discon_Click();
}

// The server refused one command of a working session: the session and its folder
// stay, and the window is ready for the next command; nothing waits for a listing.
void Form1::readyAfterRefusal()
{
    clearOperationMarks();
    downloadInHand = {};
    ListView2->chooseAfterRefill({});   // a refused folder change leaves no folder to come back from
    completionTail();
    setWindowTitle(text(164));
}

// The first mark that is set tells what the completed command was.
void Form1::dispatchCompletion()
{
    if (GetWait) {
        RFileName.clear();
        RFileName = readWholeAnswer();  // a download's answer is not shown
        GetWait = false;
        listDownloadedFile();
    } else if (PutWait) {
        listAgainOrShowListing(PutWait, PutList);
    } else if (CdWait) {
        listAgainOrShowListing(CdWait, CdList);
    } else if (RenWait) {
        listAgainOrShowListing(RenWait, RenList);
    } else if (MkdWait) {
        FCD();
    } else if (DelWait) {
        listAgainOrShowListing(DelWait, DelList);
    } else if (ListWait) {
        InAndOutTMFile();  // reads the answer itself
        ListWait = false;
    } else {
        EItem();
        setWindowTitle(text(166));
        return;
    }
    completionTail();
}

// While the operation's own command was running, ask for the listing; once that came, show it.
void Form1::listAgainOrShowListing(bool &wait, bool &list)
{
    if (list) {
        d();
        return;
    }
    InAndOutTMFile();  // reads the answer itself
    wait = false;
}

void Form1::completionTail()
{
    if (ListView2->filling()) return;  // a long listing completes the command once it is shown
    EItem();
    toolbarButton(5)->setEnabled(false);
    toolbarButton(6)->setEnabled(false);
    UpL->setEnabled(false);
    DownL->setEnabled(false);
    ListView2->setFocus();
    setWindowTitle(text(166));
}

} // namespace corvexo
