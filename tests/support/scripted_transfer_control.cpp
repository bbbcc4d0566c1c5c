#include "scripted_transfer_control.h"

namespace corvexo::testing {

void ScriptedTransferControl::report(std::initializer_list<int> states)
{
    for (int state : states) {
        if (state == 4) open = true;   // logged in: the session stands until it is cancelled
        emit stateChanged(state);
    }
}

void ScriptedTransferControl::setRequestTimeout(int seconds) { properties << QStringLiteral("timeout %1").arg(seconds); }
void ScriptedTransferControl::setProtocol(int protocol) { properties << QStringLiteral("protocol %1").arg(protocol); }
void ScriptedTransferControl::setAccessType(int accessType) { properties << QStringLiteral("access %1").arg(accessType); }
void ScriptedTransferControl::setRemotePort(quint16 port) { properties << QStringLiteral("port %1").arg(port); }
void ScriptedTransferControl::setRemoteHost(const QString &host) { properties << QStringLiteral("host ") + host; }
void ScriptedTransferControl::setUserName(const QString &user) { properties << QStringLiteral("user ") + user; }
void ScriptedTransferControl::setPassword(const QString &password) { properties << QStringLiteral("password ") + password; }

int ScriptedTransferControl::execute(const TransferCommand &command)
{
    if (refuseWith != 0) return refuseWith;
    commands << command.text();
    sent << command;
    return 0;
}

QByteArray ScriptedTransferControl::getChunk(int maxBytes)
{
    const QByteArray piece = answer.left(maxBytes);
    answer.remove(0, piece.size());
    return piece;
}

} // namespace corvexo::testing
