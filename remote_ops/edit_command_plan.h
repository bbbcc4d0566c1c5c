#pragma once
// What rename, folder creation and deletion do with the remote list as it
// stands: send one command, refuse with a message, wait for a name, or do
// nothing. The window carries the plan out.

#include "connection/transfer_command.h"

#include <QString>

namespace corvexo {

// The remote side as the commands see it when they run.
struct RemoteEditContext {
    bool connected = false;
    bool busy = false;        // the transfer control still runs an earlier command
    int entryCount = 0;       // entries of the remote list
    QString entryText;        // the current remote entry's text, as listed
};

struct EditPlan {
    enum class Outcome {
        Send,      // hand `command` to the transfer control
        Refuse,    // show string `message`, send nothing
        NeedName,  // no name typed: keep the name dialog open, send nothing
        Ignore,    // nothing to act on, nothing to say
    };
    Outcome outcome = Outcome::Ignore;
    int message = 0;
    TransferCommand command;
    QString messageText;  // shown instead of string `message` when the table has no fitting text
};

EditPlan planRename(const RemoteEditContext &remote, const QString &newName);
EditPlan planMakeDir(const RemoteEditContext &remote, const QString &name);
EditPlan planDelete(const RemoteEditContext &remote);

} // namespace corvexo
