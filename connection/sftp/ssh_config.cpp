#include "ssh_config.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <pwd.h>
#include <unistd.h>

namespace corvexo::sftp {

namespace {

// "*" any run of characters, "?" one character, as ssh's own patterns.
bool globMatches(QStringView pattern, QStringView text)
{
    if (pattern.isEmpty()) return text.isEmpty();
    if (pattern.front() == u'*') {
        for (qsizetype skip = 0; skip <= text.size(); ++skip)
            if (globMatches(pattern.mid(1), text.mid(skip))) return true;
        return false;
    }
    if (text.isEmpty()) return false;
    if (pattern.front() != u'?' && pattern.front().toLower() != text.front().toLower()) return false;
    return globMatches(pattern.mid(1), text.mid(1));
}

// A line's keyword and its arguments: "Key value", "Key=value", quoted arguments kept whole.
QStringList wordsOf(const QString &line)
{
    static const QRegularExpression word(QStringLiteral(R"re("([^"]*)"|([^\s"]+))re"));
    QStringList words;
    const qsizetype equals = line.indexOf(u'=');
    QString text = line;
    // Only the first "=" separates the keyword; later ones belong to the value.
    if (equals > 0 && !line.left(equals).trimmed().contains(u' ')) text[equals] = u' ';
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        words.append(match.hasCaptured(1) ? match.captured(1) : match.captured(2));
    }
    return words;
}

QString expanded(QString path, const QString &home, const QString &host, const QString &localUser)
{
    if (path == u"~" || path.startsWith(QStringLiteral("~/"))) path = home + path.mid(1);
    QString result;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (path[i] != u'%' || i + 1 == path.size()) {
            result += path[i];
            continue;
        }
        const QChar token = path[++i];
        if (token == u'd') result += home;
        else if (token == u'h') result += host;
        else if (token == u'u') result += localUser;
        else if (token == u'%') result += u'%';
        else result += QStringView(path).mid(i - 1, 2);
    }
    return result;
}

QString localUserName()
{
    const passwd *entry = ::getpwuid(::getuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace

QString defaultSshConfigPath()
{
    return QDir::home().filePath(QStringLiteral(".ssh/config"));
}

bool sshHostPatternsMatch(const QStringList &patterns, const QString &host)
{
    bool matched = false;
    for (const QString &pattern : patterns) {
        if (pattern.startsWith(u'!')) {
            if (globMatches(QStringView(pattern).mid(1), host)) return false;
        } else if (globMatches(pattern, host)) {
            matched = true;
        }
    }
    return matched;
}

SshHostConfig sshConfigFor(const QString &host, const QString &configText, const QString &home,
                           const QString &localUser)
{
    SshHostConfig config;
    QStringList rawIdentities;
    bool applies = true;   // lines before the first Host block apply to every host
    for (const QString &line : configText.split(u'\n')) {
        const QStringList words = wordsOf(line.trimmed());
        if (words.isEmpty() || words[0].startsWith(u'#')) continue;
        const QString keyword = words[0].toLower();
        const QString value = words.value(1);
        if (keyword == u"host") applies = sshHostPatternsMatch(words.mid(1), host);
        else if (keyword == u"match") applies = false;
        else if (!applies || value.isEmpty()) continue;
        else if (keyword == u"hostname" && config.hostName.isEmpty()) config.hostName = value;
        else if (keyword == u"user" && config.user.isEmpty()) config.user = value;
        else if (keyword == u"identityfile") rawIdentities.append(value);
        else if (keyword == u"port" && !config.port) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (ok && port > 0 && port <= 65535) config.port = quint16(port);
        }
    }
    // "%h" in HostName is the host text; tokens in identity files use the final names.
    config.hostName = expanded(config.hostName, home, host, localUser);
    const QString realHost = config.hostName.isEmpty() ? host : config.hostName;
    for (const QString &identity : std::as_const(rawIdentities))
        config.identityFiles.append(expanded(identity, home, realHost, localUser));
    return config;
}

SshHostConfig readSshConfigFor(const QString &host, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return sshConfigFor(host, QString::fromUtf8(file.readAll()), QDir::homePath(), localUserName());
}

SessionLogin withSshConfig(const SessionLogin &login, const SshHostConfig &config)
{
    SessionLogin result = login;
    if (!config.hostName.isEmpty()) result.host = config.hostName;
    if (config.port && login.port == 22) result.port = *config.port;
    const bool noUser = login.user.isEmpty() || login.user.compare(u"anonymous", Qt::CaseInsensitive) == 0;
    if (!config.user.isEmpty() && noUser) result.user = config.user;
    return result;
}

} // namespace corvexo::sftp
