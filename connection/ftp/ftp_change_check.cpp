#include "ftp_change_check.h"

namespace corvexo::ftp {

namespace {

using Verb = TransferCommand::Verb;

// The deleted file, the made or removed folder, the old name of a rename, the uploaded file.
QString lookedAtName(const TransferCommand &command)
{
    return command.operands.value(command.verb == Verb::Put ? 1 : 0);
}

} // namespace

bool changesServer(Verb verb)
{
    return verb == Verb::Delete || verb == Verb::RemoveDir || verb == Verb::MakeDir || verb == Verb::Rename
        || verb == Verb::Put;
}

QString changeLookCommand(const TransferCommand &command, bool mlst)
{
    const bool folder = command.verb == Verb::MakeDir || command.verb == Verb::RemoveDir;
    const QString verb = mlst ? QStringLiteral("MLST ") : folder ? QStringLiteral("CWD ") : QStringLiteral("SIZE ");
    return verb + lookedAtName(command);
}

ChangeOutcome changeOutcome(const TransferCommand &command, const FtpReply &answer,
                            std::optional<qint64> remoteSize, qint64 sent)
{
    // 550: not there. Any other refusal says nothing either way.
    if (!answer.isPositive() && answer.code != 550) return ChangeOutcome::Unknown;
    const bool present = answer.isPositive();
    switch (command.verb) {
    case Verb::MakeDir: return present ? ChangeOutcome::Made : ChangeOutcome::NotMade;
    case Verb::Delete:
    case Verb::RemoveDir:
    case Verb::Rename: return present ? ChangeOutcome::NotMade : ChangeOutcome::Made;
    case Verb::Put:
        if (present && !remoteSize) return ChangeOutcome::Unknown;
        return present && *remoteSize == sent ? ChangeOutcome::Made : ChangeOutcome::NotMade;
    default: return ChangeOutcome::Unknown;
    }
}

} // namespace corvexo::ftp
