#pragma once
// After the session dropped in the middle of a command that changes the
// server (DELE, RMD, MKD, RNFR/RNTO, STOR), the command is not sent again
// blindly: the session logs in again and looks whether the change took
// place. These say what to ask and how to read the answer.

#include "connection/transfer_command.h"
#include "ftp_reply.h"

#include <optional>

namespace corvexo::ftp {

enum class ChangeOutcome { Made, NotMade, Unknown };

bool changesServer(TransferCommand::Verb verb);

// The command line that looks at the name whose presence tells: MLST where the
// server offers it, else CWD for a folder and SIZE for a file.
QString changeLookCommand(const TransferCommand &command, bool mlst);

// remoteSize: the size the answer gave, if any; sent: the bytes of an upload.
ChangeOutcome changeOutcome(const TransferCommand &command, const FtpReply &answer,
                            std::optional<qint64> remoteSize, qint64 sent);

} // namespace corvexo::ftp
