#include "connection.h"

#include "connection/transfer_address.h"
#include "connection/transfer_control.h"

namespace corvexo {

quint16 remotePortFor(const QString &hostText, const QString &portText)
{
    if (const auto address = parseTransferAddress(hostText, portText)) return address->port;
    if (const auto address = parseTransferAddress(hostText)) return address->port;   // a port field that is no port
    bool ok = false;
    const int port = portText.trimmed().toInt(&ok);
    return ok && port >= 1 && port <= 65535 ? quint16(port) : quint16(21);
}

RefusalReaction refusalReaction(int errorNumber)
{
    using Place = RefusalReaction::Place;
    switch (errorNumber) {
    case TransferError::HostNameWrong: return {Place::MessageBox, 142, false};
    case TransferError::CannotConnect: return {Place::MessageBox, 143, false};
    case TransferError::TimedOut: return {Place::StatusText, 144, false};
    case TransferError::StillExecuting: return {Place::Caption, 145, true};
    case TransferError::CannotExtract: return {Place::StatusText, 146, false};
    case TransferError::CannotConnectRemote: return {Place::StatusText, 148, true};
    case TransferError::FtpCommandFailed: return {Place::StatusText, 149, false};
    case TransferError::Security: return {Place::StatusText, 150, false};
    case TransferError::ConnectionStopped: return {Place::StatusText, 151, false};
    default: return {};
    }
}

} // namespace corvexo
