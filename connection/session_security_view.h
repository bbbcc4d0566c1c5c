#pragma once
// What the window shows of a session's encryption: a lock picture in the
// status bar while the session is encrypted (its tooltip names the TLS version
// and the certificate's fingerprint, or the SSH host key and cipher), and the
// questions about a certificate or host key nobody vouches for, about a login
// in clear text and about a key file's passphrase, asked from the event loop
// and answered to the control.

#include <QObject>

#include <utility>

class QLabel;
class QStatusBar;
class QWidget;

namespace corvexo {

class TransferControl;

class SessionSecurityView : public QObject {
    Q_OBJECT
public:
    SessionSecurityView(TransferControl *control, QStatusBar *statusBar, QWidget *window);

    QLabel *lock() const { return lock_; }
    // Shows the closed lock for an encrypted session, the open one for a plain
    // session, nothing while none is open.
    void refresh();
    // True once after the user refused a certificate, so that its end is not told as an error.
    bool takeCertificateRefusal() { return std::exchange(certificateRefused_, false); }

private:
    TransferControl *control_;
    QWidget *window_;
    QLabel *lock_;
    bool certificateRefused_ = false;
};

} // namespace corvexo
