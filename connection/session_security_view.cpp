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

QPixmap lockPicture()
{
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1.6));
    painter.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);   // the shackle
    painter.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
    painter.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(200, 150, 30));
    painter.drawRoundedRect(QRectF(2.5, 7, 11, 8), 1.5, 1.5);   // the body
    return picture;
}

} // namespace

SessionSecurityView::SessionSecurityView(TransferControl *control, QStatusBar *statusBar, QWidget *window)
    : QObject(window), control_(control), window_(window), lock_(new QLabel(statusBar))
{
    lock_->setObjectName(QStringLiteral("securityLock"));
    lock_->setPixmap(lockPicture());
    lock_->hide();
    statusBar->addPermanentWidget(lock_);
    connect(control_, &TransferControl::stateChanged, this, &SessionSecurityView::refresh);
    connect(control_, &TransferControl::certificateQuestion, this, [this](const CertificateQuestion &question) {
        // Asked from the event loop, not inside the control's signal.
        QMetaObject::invokeMethod(this, [this, question] {
            control_->answerCertificate(askYesNoDefaultingToNo(window_, certificateQuestionText(question)));
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
    lock_->setToolTip(securityTooltipText(security));
    lock_->setVisible(security.encrypted);
}

} // namespace corvexo
