#include "queue_restore.h"

#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "connection/transfer_address.h"

#include <QDir>
#include <QInputDialog>

namespace corvexo {

namespace {

bool japanese() { return uiLanguage() == UiLanguage::Japanese; }

QueuePasswordAnswerer &passwordAnswerer()
{
    static QueuePasswordAnswerer instance;
    return instance;
}

// The user name as the window logs in with it: none is the anonymous login.
QString loginUser(const QString &user)
{
    return user.isEmpty() ? QStringLiteral("Anonymous") : user;
}

} // namespace

QString queueServerName(const SessionLogin &login)
{
    QString host = login.host.contains(u':') ? u'[' + login.host + u']' : login.host;
    if (login.port != defaultPortOf(login.scheme)) host += u':' + QString::number(login.port);
    const QString name = login.user + u'@' + host;
    return login.scheme == TransferScheme::Sftp ? QStringLiteral("sftp://") + name : name;
}

qsizetype filesRemaining(const queue::QueueModel &model)
{
    qsizetype files = 0;
    for (const queue::QueueItem &item : model.items())
        files += item.kind != queue::ItemKind::Folder && item.state != queue::ItemState::Done
                 && item.state != queue::ItemState::Skipped && model.jobs()[item.job].walked;
    return files;
}

QString savedQueueQuestion(const queue::SavedQueue &saved)
{
    const QString server = queueServerName(saved.login);
    const QString files = QString::number(filesRemaining(saved.model));
    // A folder whose walk had not ended holds more than its counted files.
    if (!saved.model.allWalked())
        return japanese() ? QStringLiteral("%1 との転送キューが終わっていません。残りは %2 個のファイルと、読み終えていないフォルダーです。\n続けますか？（「いいえ」で破棄します）").arg(server, files)
                          : QStringLiteral("The transfer queue with %1 did not finish: %2 files remain, and folders not yet read in full.\nContinue it? (No discards it.)").arg(server, files);
    return japanese() ? QStringLiteral("%1 との転送キューが終わっていません。残りは %2 個のファイルです。\n続けますか？（「いいえ」で破棄します）").arg(server, files)
                      : QStringLiteral("The transfer queue with %1 did not finish: %2 files remain.\nContinue it? (No discards it.)").arg(server, files);
}

QString damagedQueueText(const QString &keptAs)
{
    return (japanese() ? QStringLiteral("保存された転送キューを読めませんでした。%1 として残してあります。")
                       : QStringLiteral("The saved transfer queue could not be read. It was kept as %1."))
        .arg(QDir::toNativeSeparators(keptAs));
}

QString damagedQueueNotMovedText(const QString &path, const QString &reason)
{
    return (japanese() ? QStringLiteral("保存された転送キュー %1 を読めず、別の名前にもできませんでした: %2")
                       : QStringLiteral("The saved transfer queue %1 could not be read, nor be put aside: %2"))
        .arg(QDir::toNativeSeparators(path), reason);
}

std::optional<QString> storedPasswordFor(const SessionLogin &login, const QList<ConnectionSetting> &settings)
{
    for (const ConnectionSetting &setting : settings) {
        const std::optional<TransferAddress> address = parseTransferAddress(setting.HostAddress, setting.PortAddress);
        if (!address || address->scheme != login.scheme || address->port != login.port) continue;
        if (address->host.compare(login.host, Qt::CaseInsensitive) != 0) continue;
        if (loginUser(setting.UserName) != login.user) continue;
        // An empty field is a password not stored, except for the anonymous login.
        if (!setting.Password.isEmpty() || login.user.compare(QStringLiteral("anonymous"), Qt::CaseInsensitive) == 0)
            return setting.Password;
    }
    return std::nullopt;
}

QString queuePasswordQuestionText(const SessionLogin &login)
{
    return (japanese() ? QStringLiteral("%1 のパスワードを入力してください（保存はされません）。")
                       : QStringLiteral("Enter the password of %1 (it is not stored)."))
        .arg(queueServerName(login));
}

std::optional<QString> askQueuePassword(QWidget *parent, const SessionLogin &login)
{
    const QString text = queuePasswordQuestionText(login);
    if (passwordAnswerer()) return passwordAnswerer()(text);
    bool given = false;
    const QString password = QInputDialog::getText(parent, kApplicationTitle, text, QLineEdit::Password, QString(), &given);
    return given ? std::optional<QString>(password) : std::nullopt;
}

void setQueuePasswordAnswerer(QueuePasswordAnswerer answerer)
{
    passwordAnswerer() = std::move(answerer);
}

} // namespace corvexo
