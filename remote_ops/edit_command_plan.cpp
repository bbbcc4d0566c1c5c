#include "edit_command_plan.h"

#include "edit_availability_table.h"
#include "edit_messages.h"

#include <optional>

namespace corvexo {

namespace {

// String numbers of the refusals.
constexpr int kNotConnected = 176;
constexpr int kStillExecuting = 145;
constexpr int kNothingSelected = 138;
constexpr int kNotForThisEntry = 137;

EditPlan send(TransferCommand command)
{
    return {EditPlan::Outcome::Send, 0, std::move(command)};
}

EditPlan refuse(int message)
{
    return {EditPlan::Outcome::Refuse, message, {}};
}

// A command can only go out on an open, idle connection; otherwise the control would
// refuse it (busy) or start a session nobody asked for (disconnected).
std::optional<EditPlan> connectionRefusal(const RemoteEditContext &remote)
{
    if (!remote.connected) return refuse(kNotConnected);
    if (remote.busy) return refuse(kStillExecuting);
    return std::nullopt;
}

} // namespace

EditPlan planRename(const RemoteEditContext &remote, const QString &newName)
{
    if (newName.isEmpty()) return {EditPlan::Outcome::NeedName, 0, {}};
    if (auto refusal = connectionRefusal(remote)) return *refusal;
    if (remote.entryCount <= 0) return refuse(kNothingSelected);
    if (remote.entryText.isEmpty()) return {};
    // The folder itself and the one above cannot be renamed from inside it.
    if (isSelfOrParentEntry(remote.entryText))
        return {EditPlan::Outcome::Refuse, 0, {}, cannotRenameEntryText(remote.entryText)};
    return send(TransferCommand::rename(remote.entryText, newName));
}

EditPlan planMakeDir(const RemoteEditContext &remote, const QString &name)
{
    if (name.isEmpty()) return {EditPlan::Outcome::NeedName, 0, {}};
    if (auto refusal = connectionRefusal(remote)) return *refusal;
    return send(TransferCommand::makeDir(name));
}

EditPlan planDelete(const RemoteEditContext &remote)
{
    if (auto refusal = connectionRefusal(remote)) return *refusal;
    if (remote.entryCount <= 0 || remote.entryText.isEmpty()) return refuse(kNothingSelected);
    if (isSelfOrParentEntry(remote.entryText)) return refuse(kNotForThisEntry);
    if (remote.entryText.endsWith(u'/')) return send(TransferCommand::removeDir(remote.entryText));
    return send(TransferCommand::remove(remote.entryText));
}

} // namespace corvexo
