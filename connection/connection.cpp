#include "connection.h"

#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "connection/session_security_view.h"
#include "app/progress_panel.h"
#include "app/strings/string_table.h"
#include "settings/settings_store.h"
#include "state_texts.h"

#include <QComboBox>

namespace corvexo {

namespace {

// The operation marks, in the order of OperationMarks.
constexpr bool Form1::*kOperationMarks[] = {
    &Form1::ListWait, &Form1::GetWait, &Form1::PutWait, &Form1::PutList, &Form1::CdWait, &Form1::CdList,
    &Form1::RenWait,  &Form1::RenList, &Form1::MkdWait, &Form1::DelWait, &Form1::DelList,
};
static_assert(std::size(kOperationMarks) == std::tuple_size_v<Form1::OperationMarks>);

const QString &hostAddress() { return CurrentSetting[1]; }
const QString &password() { return CurrentSetting[2]; }
const QString &userName() { return CurrentSetting[3]; }
const QString &portAddress() { return CurrentSetting[4]; }

} // namespace

void Form1::con_Click()
{
    if (hostAddress().isEmpty()) {
        setStatusText(text(135));
        return;
    }
    setStatusText(hostAddress() + text(134));
    Connect();
}

void Form1::Combo1_Click(int index)
{
    if (Combo1->itemText(index).isEmpty()) return;
    // The picked setting becomes the current one for this run; the default on file stays.
    useListedSetting(index);
    Connect();
}

void Form1::Connect()
{
    Connected = true;
    Inet1->setRequestTimeout(60);
    Inet1->setProtocol(2);
    Inet1->setAccessType(0);
    Inet1->setRemotePort(remotePortFor(hostAddress(), portAddress()));
    if (hostAddress().isEmpty()) {
        showMessage(this, text(141));
        return;
    }
    Inet1->setRemoteHost(hostAddress());
    Inet1->setUserName(userName().isEmpty() ? QStringLiteral("Anonymous") : userName());
    // Always set: an earlier setting's password must never reach this server.
    Inet1->setPassword(password());

    // Marks left behind by a command that failed must not take this connection's listing,
    // and an earlier server's entries must not be opened on this one.
    clearOperationMarks();
    ListView2->clear();
    ListView2->chooseAfterRefill({});
    ListWait = true;
    int error = Inet1->execute(TransferCommand::connectListing());
    if (error == TransferError::StillExecuting && !Inet1->stillExecuting())
        error = Inet1->execute(TransferCommand::connectListing());  // it was just finishing: once more
    marksOfRunningCommand = operationMarks();
    tellConnectRefusal(error);
}

void Form1::tellConnectRefusal(int error)
{
    if (error == TransferError::StillExecuting && !Inet1->stillExecuting()) return;
    const RefusalReaction reaction = refusalReaction(error);
    switch (reaction.place) {
    case RefusalReaction::Place::Nothing: return;
    case RefusalReaction::Place::MessageBox: showMessage(this, text(reaction.textNumber)); break;
    case RefusalReaction::Place::StatusText: setStatusText(text(reaction.textNumber)); break;
    case RefusalReaction::Place::Caption: setWindowTitle(text(reaction.textNumber)); break;
    }
    if (reaction.disconnects) Discon_Click();
}

void Form1::Discon_Click()
{
    // A command cut off here sends no further states, so its progress caption would stay.
    const bool cutOff = Inet1->stillExecuting();
    Inet1->cancel();
    if (cutOff && isProgressCaption(windowTitle())) setWindowTitle(text(163));
    if (securityView) securityView->refresh();
    progressPanel->finish();
    setStatusText(text(136));
    Connected = false;
    showRemoteFolder();
    DItemIdle();
    eddiF();
}

int Form1::executeCommand(const TransferCommand &command)
{
    const int error = Inet1->execute(command);
    if (error == TransferError::None) {
        marksOfRunningCommand = operationMarks();
        return error;
    }
    // The refused command runs nowhere, so its marks must not wait for a completion.
    setOperationMarks(marksOfRunningCommand);
    tellCommandRefusal(error);
    return error;
}

void Form1::tellCommandRefusal(int error)
{
    if (error == TransferError::StillExecuting) {
        setStatusText(text(145));
        return;
    }
    // Told like a refusal while connecting, but the connection is the user's to end.
    const RefusalReaction reaction = refusalReaction(error);
    if (reaction.place == RefusalReaction::Place::MessageBox) showMessage(this, text(reaction.textNumber));
    else if (reaction.place != RefusalReaction::Place::Nothing) setStatusText(text(reaction.textNumber));
}

Form1::OperationMarks Form1::operationMarks() const
{
    OperationMarks marks{};
    for (std::size_t i = 0; i < marks.size(); ++i) marks[i] = this->*kOperationMarks[i];
    return marks;
}

void Form1::setOperationMarks(const OperationMarks &marks)
{
    for (std::size_t i = 0; i < marks.size(); ++i) this->*kOperationMarks[i] = marks[i];
}

void Form1::clearOperationMarks()
{
    setOperationMarks(OperationMarks{});
}

} // namespace corvexo
