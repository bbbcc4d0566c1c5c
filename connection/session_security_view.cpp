#include "session_security_view.h"

#include "app/message_box.h"
#include "certificate_messages.h"
#include "connection/transfer_control.h"
#include "files/file_messages.h"
#include "passphrase_prompt.h"

#include <QFileInfo>

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QStatusBar>

namespace corvexo {

namespace {

// Drawn at the screen's pixel ratio, so that it stays sharp on a scaled screen.
QPixmap lockPicture(bool open, qreal ratio)
{
    QPixmap picture(QSize(16, 16) * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1.6));
    // An open shackle stands up on its left side only; even lifted, its top stays inside the picture.
    const qreal lift = open ? 2 : 0;
    painter.drawArc(QRectF(4.5, 3 - lift, 7, 8), 0, 180 * 16);
    painter.drawLine(QPointF(4.5, 7 - lift), QPointF(4.5, 8.5 - lift));
    painter.drawLine(QPointF(11.5, 7 - lift), QPointF(11.5, 8.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(open ? QColor(200, 60, 40) : QColor(200, 150, 30));
    painter.drawRoundedRect(QRectF(2.5, 8.5, 11, 7), 1.5, 1.5);   // the body
    return picture;
}

} // namespace

SessionSecurityView::SessionSecurityView(TransferControl *control, QStatusBar *statusBar, QWidget *window)
    : QObject(window), control_(control), window_(window), lock_(new QLabel(statusBar))
{
    lock_->setObjectName(QStringLiteral("securityLock"));
    lock_->hide();
    statusBar->addPermanentWidget(lock_);
    connect(control_, &TransferControl::stateChanged, this, &SessionSecurityView::refresh);
    connect(control_, &TransferControl::certificateQuestion, this, [this](const CertificateQuestion &question) {
        // Asked from the event loop, not inside the control's signal.
        QMetaObject::invokeMethod(this, [this, question] {
            const bool trust = askYesNoDefaultingToNo(window_, certificateQuestionText(question));
            certificateRefused_ = !trust;
            control_->answerCertificate(trust);
        }, Qt::QueuedConnection);
    });
    connect(control_, &TransferControl::plainLoginQuestion, this, [this](const PlainLoginQuestion &question) {
        QMetaObject::invokeMethod(this, [this, question] {
            control_->answerPlainLogin(askYesNoDefaultingToNo(window_, plainLoginQuestionText(question)));
        }, Qt::QueuedConnection);
    });
    connect(control_, &TransferControl::passphraseQuestion, this, [this](const QString &keyPath) {
        QMetaObject::invokeMethod(this, [this, keyPath] {
            const std::optional<QString> passphrase = askPassphrase(window_, keyPath);
            control_->answerPassphrase(passphrase.value_or(QString()), passphrase.has_value());
        }, Qt::QueuedConnection);
    });
    connect(control_, &TransferControl::trustNotSaved, this, [this](const QString &path, const QString &reason) {
        QMetaObject::invokeMethod(this, [this, path, reason] {
            showMessage(window_, fileNotSavedMessage(QFileInfo(path).fileName(), path, reason));
        }, Qt::QueuedConnection);
    });
}

void SessionSecurityView::refresh()
{
    const SessionSecurity security = control_->security();
    const bool plain = !security.encrypted && control_->sessionOpen();
    lock_->setPixmap(lockPicture(plain, lock_->devicePixelRatioF()));
    lock_->setToolTip(plain ? plainSessionTooltipText() : securityTooltipText(security));
    lock_->setVisible(security.encrypted || plain);
}

} // namespace corvexo
