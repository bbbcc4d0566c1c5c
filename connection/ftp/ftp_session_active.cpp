// Active mode: the server connects to us. Tried only when EPSV and PASV are
// both refused, from the control connection's own address.

#include "ftp_session.h"

#include "ftp_active_listener.h"
#include "ftp_control_channel.h"
#include "ftp_messages.h"

namespace corvexo::ftp {

void FtpSession::useActive(std::function<void(quint16)> then)
{
    passiveRefused_ = true;
    if (listener_) listener_->deleteLater();
    listener_ = new FtpActiveListener(this);
    listener_->setExpectedPeer(control_->peerAddress());
    const QHostAddress local = control_->localAddress();
    if (!listener_->listen(local, 0))
        return failLocally(engineText(EngineText::CannotWaitForData).arg(listener_->errorString()), true);
    const quint16 port = listener_->serverPort();
    request(QStringLiteral("EPRT ") + QString::fromLatin1(eprtArgument(local, port)),
            [this, then, local, port](const FtpReply &eprt) {
        if (eprt.isPositive()) return then(0);
        const QByteArray portArg = portArgument(local, port);
        if (eprt.code == 421 || portArg.isEmpty()) return failWith(eprt);
        request(QStringLiteral("PORT ") + QString::fromLatin1(portArg), [this, then](const FtpReply &reply) {
            if (!reply.isPositive()) return failWith(reply);
            then(0);
        });
    });
}

} // namespace corvexo::ftp
