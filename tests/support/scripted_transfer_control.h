#pragma once
// A transfer control that sends nothing: it records every command line and
// the properties it was given, and lets a test report any state, response
// code, response info and answer.

#include "connection/transfer_control.h"

#include <QStringList>

namespace corvexo::testing {

class ScriptedTransferControl : public TransferControl {
    Q_OBJECT
public:
    using TransferControl::TransferControl;

    // What the window did.
    QStringList commands;          // command texts, in order
    QList<TransferCommand> sent;   // the same commands with their operands
    QStringList properties;        // "timeout 60", "protocol 2", "port 21", "host h", "user u", "password p"
    int cancelCount = 0;
    int stopCount = 0;
    QList<bool> certificateAnswers;
    QList<bool> plainLoginAnswers;
    QStringList passphraseAnswers;   // "" when skipped

    // What the control answers.
    int refuseWith = 0;            // error number that the next executes return (0 accepts)
    bool executing = false;        // what stillExecuting() reports
    int code = 0;
    QString info;
    QByteArray answer;             // handed out by getChunk
    QList<RemoteEntry> entries;    // what listedEntries() gives
    int unreadable = 0;            // what unreadableEntries() gives
    TransferProgress progressNow;
    SessionSecurity securityNow;
    bool open = false;             // what sessionOpen() reports
    QString folder;                // what currentFolder() reports

    // Reports states one after the other, as the real control would.
    void report(std::initializer_list<int> states);
    void completeCommand() { report({5, 6, 7, 8, 12}); }
    void completeWithAnswer(const QByteArray &text) { answer = text; completeCommand(); }
    void fail(int replyCode, const QString &replyInfo) { code = replyCode; info = replyInfo; report({11}); }
    QString lastCommand() const { return commands.value(commands.size() - 1); }

    void setRequestTimeout(int seconds) override;
    void setProtocol(int protocol) override;
    void setAccessType(int accessType) override;
    void setRemotePort(quint16 port) override;
    void setRemoteHost(const QString &host) override;
    void setUserName(const QString &user) override;
    void setPassword(const QString &password) override;
    int execute(const TransferCommand &command) override;
    void cancel() override
    {
        ++cancelCount;
        open = false;
    }
    bool stillExecuting() const override { return executing; }
    int responseCode() const override { return code; }
    QString responseInfo() const override { return info; }
    QByteArray getChunk(int maxBytes) override;
    QList<RemoteEntry> listedEntries() const override { return entries; }
    int unreadableEntries() const override { return unreadable; }
    TransferProgress progress() const override { return progressNow; }
    SessionSecurity security() const override { return securityNow; }
    bool sessionOpen() const override { return open; }
    QString currentFolder() const override { return folder; }
    void stop() override { ++stopCount; }
    void answerCertificate(bool trust) override { certificateAnswers << trust; }
    void answerPlainLogin(bool allow) override { plainLoginAnswers << allow; }
    void answerPassphrase(const QString &passphrase, bool given) override { passphraseAnswers << (given ? passphrase : QString()); }
};

} // namespace corvexo::testing
