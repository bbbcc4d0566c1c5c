#pragma once
// Logging in as ssh users know it: the keys of the running ssh-agent first,
// then the user's default key files (a passphrase is asked for, never kept
// beyond the attempt), then the password, by "password" and by
// "keyboard-interactive". Blocking; runs on the session's worker thread and
// pauses where a passphrase is needed.

#include <QString>
#include <QStringList>
#include <optional>

#include <libssh/libssh.h>

namespace corvexo::sftp {

class SshAuthentication {
public:
    enum class Result { LoggedIn, Refused, NeedPassphrase, Broken };

    SshAuthentication(ssh_session session, QString password, QStringList keyFiles);

    // Goes on from where it paused; the methods the server does not offer are skipped.
    Result run();
    // The key file a passphrase is asked for after NeedPassphrase.
    QString keyAskedFor() const { return keys_.value(keyIndex_); }
    // The answer to NeedPassphrase; nothing skips the key.
    void answerPassphrase(std::optional<QString> passphrase) { passphrase_ = std::move(passphrase); answered_ = true; }
    // The methods tried so far, in the user's language, for a refusal's text.
    QStringList tried() const { return tried_; }
    QString errorText() const { return QString::fromUtf8(ssh_get_error(session_)); }

    // ~/.ssh/id_ed25519, id_ecdsa and id_rsa.
    static QStringList defaultKeyFiles();

private:
    enum class Step { None, Agent, Keys, Password, Keyboard, Done };
    std::optional<Result> tryAgent();
    std::optional<Result> tryKeys();
    std::optional<Result> tryPassword();
    std::optional<Result> tryKeyboard();
    void noteTried(const QString &method);

    static constexpr int PassphraseAttempts = 3;

    ssh_session session_;
    QString password_;
    QStringList keys_;
    Step step_ = Step::None;
    int methods_ = 0;
    qsizetype keyIndex_ = 0;
    bool keyOffered_ = false;   // the server accepts the key in hand; only its passphrase is missing
    int attempts_ = 0;
    bool answered_ = false;
    std::optional<QString> passphrase_;
    QStringList tried_;
};

} // namespace corvexo::sftp
