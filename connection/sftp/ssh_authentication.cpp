#include "ssh_authentication.h"

#include "sftp_messages.h"

#include <QDir>
#include <QFile>

namespace corvexo::sftp {

namespace {

// Frees a key when it goes out of scope.
struct KeyHolder {
    ssh_key key = nullptr;
    ~KeyHolder() { ssh_key_free(key); }
};

} // namespace

SshAuthentication::SshAuthentication(ssh_session session, QString password, QStringList keyFiles)
    : session_(session), password_(std::move(password)), keys_(std::move(keyFiles))
{
}

QStringList SshAuthentication::defaultKeyFiles()
{
    const QDir ssh(QDir::home().filePath(QStringLiteral(".ssh")));
    return {ssh.filePath(QStringLiteral("id_ed25519")), ssh.filePath(QStringLiteral("id_ecdsa")),
            ssh.filePath(QStringLiteral("id_rsa"))};
}

SshAuthentication::Result SshAuthentication::run()
{
    if (step_ == Step::None) {
        const int rc = ssh_userauth_none(session_, nullptr);
        if (rc == SSH_AUTH_SUCCESS) return Result::LoggedIn;
        if (rc == SSH_AUTH_ERROR) return Result::Broken;
        methods_ = ssh_userauth_list(session_, nullptr);
        step_ = Step::Agent;
    }
    if (step_ == Step::Agent) {
        if (auto result = tryAgent()) return *result;
        step_ = Step::Keys;
    }
    if (step_ == Step::Keys) {
        if (auto result = tryKeys()) return *result;
        step_ = Step::Password;
    }
    if (step_ == Step::Password) {
        if (auto result = tryPassword()) return *result;
        step_ = Step::Keyboard;
    }
    if (step_ == Step::Keyboard) {
        if (auto result = tryKeyboard()) return *result;
        step_ = Step::Done;
    }
    return Result::Refused;
}

void SshAuthentication::noteTried(const QString &method)
{
    if (!tried_.contains(method)) tried_.append(method);
}

std::optional<SshAuthentication::Result> SshAuthentication::tryAgent()
{
    if (!(methods_ & SSH_AUTH_METHOD_PUBLICKEY) || qEnvironmentVariableIsEmpty("SSH_AUTH_SOCK")) return std::nullopt;
    noteTried(sftpText(SftpText::MethodAgent));
    const int rc = ssh_userauth_agent(session_, nullptr);
    if (rc == SSH_AUTH_SUCCESS) return Result::LoggedIn;
    // An agent that cannot be reached is not the server's refusal: the other methods follow.
    if (rc == SSH_AUTH_ERROR && !ssh_is_connected(session_)) return Result::Broken;
    return std::nullopt;
}

std::optional<SshAuthentication::Result> SshAuthentication::tryKeys()
{
    for (; keyIndex_ < keys_.size(); ++keyIndex_, keyOffered_ = false, attempts_ = 0, answered_ = false, passphrase_.reset()) {
        if (!(methods_ & SSH_AUTH_METHOD_PUBLICKEY)) return std::nullopt;
        const QString path = keys_[keyIndex_];
        if (!QFile::exists(path)) continue;
        const QByteArray file = QFile::encodeName(path);
        noteTried(sftpText(SftpText::MethodKeyFile).arg(QDir::toNativeSeparators(path)));
        if (!keyOffered_) {
            // The public half, when present, tells whether the server would take the key,
            // so that no passphrase is asked for a key it refuses.
            KeyHolder publicKey;
            if (ssh_pki_import_pubkey_file((file + ".pub").constData(), &publicKey.key) == SSH_OK) {
                const int rc = ssh_userauth_try_publickey(session_, nullptr, publicKey.key);
                if (rc == SSH_AUTH_ERROR) return Result::Broken;
                if (rc != SSH_AUTH_SUCCESS) continue;
            }
            keyOffered_ = true;
        }
        if (answered_ && !passphrase_) continue;   // the user chose to skip this key
        const QByteArray passphrase = passphrase_ ? passphrase_->toUtf8() : QByteArray();
        KeyHolder privateKey;
        const int imported = ssh_pki_import_privkey_file(file.constData(), passphrase_ ? passphrase.constData() : nullptr,
                                                         nullptr, nullptr, &privateKey.key);
        passphrase_.reset();
        answered_ = false;
        if (imported != SSH_OK) {
            if (++attempts_ > PassphraseAttempts) continue;
            return Result::NeedPassphrase;
        }
        const int rc = ssh_userauth_publickey(session_, nullptr, privateKey.key);
        if (rc == SSH_AUTH_SUCCESS) return Result::LoggedIn;
        if (rc == SSH_AUTH_ERROR) return Result::Broken;
    }
    return std::nullopt;
}

std::optional<SshAuthentication::Result> SshAuthentication::tryPassword()
{
    if (!(methods_ & SSH_AUTH_METHOD_PASSWORD) || password_.isEmpty()) return std::nullopt;
    noteTried(sftpText(SftpText::MethodPassword));
    const int rc = ssh_userauth_password(session_, nullptr, password_.toUtf8().constData());
    if (rc == SSH_AUTH_SUCCESS) return Result::LoggedIn;
    if (rc == SSH_AUTH_ERROR) return Result::Broken;
    return std::nullopt;
}

std::optional<SshAuthentication::Result> SshAuthentication::tryKeyboard()
{
    if (!(methods_ & SSH_AUTH_METHOD_INTERACTIVE) || password_.isEmpty()) return std::nullopt;
    noteTried(sftpText(SftpText::MethodKeyboard));
    const QByteArray password = password_.toUtf8();
    // Every hidden prompt gets the password; a server asking more rounds than this is refused.
    for (int round = 0; round < 5; ++round) {
        const int rc = ssh_userauth_kbdint(session_, nullptr, nullptr);
        if (rc == SSH_AUTH_SUCCESS) return Result::LoggedIn;
        if (rc == SSH_AUTH_ERROR) return Result::Broken;
        if (rc != SSH_AUTH_INFO) return std::nullopt;
        const int prompts = ssh_userauth_kbdint_getnprompts(session_);
        for (int i = 0; i < prompts; ++i) {
            char echo = 0;
            ssh_userauth_kbdint_getprompt(session_, unsigned(i), &echo);
            ssh_userauth_kbdint_setanswer(session_, unsigned(i), echo ? "" : password.constData());
        }
    }
    return std::nullopt;
}

} // namespace corvexo::sftp
