#include "queue_store.h"

#include "connection/transfer_address.h"
#include "queue_rules.h"

#include "files/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace corvexo::queue {

namespace {

constexpr char Header[] = "corvexo-queue 1";

QByteArray escaped(const QString &text)
{
    QByteArray out = text.toUtf8();
    out.replace("%", "%25").replace("\t", "%09").replace("\n", "%0A").replace("\r", "%0D");
    return out;
}

QString unescaped(const QByteArray &field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

template <typename... Fields>
void appendRecord(QByteArray &out, const char *kind, const Fields &...fields)
{
    out += kind;
    ((out += '\t', out += fields), ...);
    out += '\n';
}

bool parseJob(const QList<QByteArray> &f, QueueModel &model)
{
    const int direction = f.value(1).toInt();
    if (f.size() != 5 || direction < 0 || direction > int(Direction::Delete)) return false;
    model.addJob({Direction(direction), unescaped(f[2]), unescaped(f[3]), f[4] == "1"});
    return true;
}

bool parseItem(const QList<QByteArray> &f, QueueModel &model)
{
    bool ok = f.size() == 6;
    const uint job = ok ? f[1].toUInt(&ok) : 0;
    const int kind = f.value(2).toInt();
    if (!ok || job >= uint(model.jobs().size()) || kind < 0 || kind > int(ItemKind::Link)) return false;
    QueueItem item;
    item.job = job;
    item.kind = ItemKind(kind);
    item.size = f[3].toLongLong();
    item.modified = f[4].toLongLong();
    item.relative = unescaped(f[5]);
    // Items of a job whose walk had not ended are kept too: their parts are known by them.
    model.addItem(item);
    return true;
}

} // namespace

QByteArray queueTextHead(const SessionLogin &login, const QueueModel &model)
{
    QByteArray out = QByteArray(Header) + '\n';
    appendRecord(out, "login", escaped(login.host), QByteArray::number(login.port), escaped(login.user),
                 schemeName(login.scheme).toLatin1());
    for (const QueueJob &job : model.jobs())
        appendRecord(out, "job", QByteArray::number(int(job.direction)), escaped(job.localRoot),
                     escaped(job.remoteRoot), QByteArray(job.walked ? "1" : "0"));
    return out;
}

void appendQueueItems(QByteArray &out, const QueueModel &model, qsizetype from, qsizetype to)
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < std::min(to, model.size()); ++i) {
        const QueueItem &item = model.item(i);
        if (item.state == ItemState::Done || item.state == ItemState::Skipped) continue;
        appendRecord(out, "item", QByteArray::number(item.job), QByteArray::number(int(item.kind)),
                     QByteArray::number(item.size), QByteArray::number(item.modified), escaped(item.relative));
    }
}

QByteArray queueText(const SessionLogin &login, const QueueModel &model)
{
    QByteArray out = queueTextHead(login, model);
    appendQueueItems(out, model, 0, model.size());
    return out;
}

bool parseQueueText(const QByteArray &text, SavedQueue *out)
{
    QList<QByteArray> lines = text.split('\n');
    if (lines.value(0) != Header) return false;
    SavedQueue saved;
    bool haveLogin = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) continue;
        const QList<QByteArray> f = lines[i].split('\t');
        bool ok = false;
        if (f[0] == "login" && (f.size() == 4 || f.size() == 5)) {
            saved.login = SessionLogin{TransferScheme::Ftp, unescaped(f[1]), quint16(f[2].toUInt(&ok)),
                                       unescaped(f[3]), {}};
            // A queue saved before schemes were kept is an FTP one.
            const QString scheme = f.size() == 5 ? QString::fromLatin1(f[4]) : QStringLiteral("ftp");
            const std::optional<TransferAddress> address = parseTransferAddress(scheme + QStringLiteral("://h"));
            if (address) saved.login.scheme = address->scheme;
            haveLogin = ok && address;
        } else if (f[0] == "job") {
            ok = parseJob(f, saved.model);
        } else if (f[0] == "item") {
            ok = parseItem(f, saved.model);
        }
        if (!ok) return false;
    }
    if (!haveLogin) return false;
    *out = std::move(saved);
    return true;
}

QString savedQueuePath(int slot)
{
    const QString name = slot <= 1 ? QStringLiteral("transfer-queue") : QStringLiteral("transfer-queue-%1").arg(slot);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(name);
}

QString freeSavedQueuePath(const std::function<bool(const QString &)> &taken)
{
    int slot = 1;
    while (taken(savedQueuePath(slot))) ++slot;
    return savedQueuePath(slot);
}

QStringList savedQueuePaths()
{
    const QFileInfo first(savedQueuePath());
    QStringList paths;
    if (first.exists()) paths << first.filePath();
    const QDir folder = first.dir();
    QStringList others = folder.entryList({QStringLiteral("transfer-queue-*")}, QDir::Files);
    // Numbered names in the order they were taken: by their number, not as text.
    const auto number = [](const QString &name) { return name.section(u'-', -1).toInt(); };
    others.removeIf([&number](const QString &name) { return number(name) < 2; });
    std::sort(others.begin(), others.end(), [&number](const QString &a, const QString &b) { return number(a) < number(b); });
    for (const QString &name : others) paths << folder.filePath(name);
    return paths;
}

bool nothingToKeep(const QueueModel &model)
{
    return !model.hasUnfinished() && model.count(ItemState::Failed) == 0 && model.allWalked();
}

QString writeQueueText(const QByteArray &text, const QString &path)
{
    if (text.isNull()) {
        if (QFileInfo::exists(path) && !QFile::remove(path)) return QFile(path).errorString();
        return {};
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileWhole(path, text);
}

QString saveQueue(const SessionLogin &login, const QueueModel &model, const QString &path)
{
    return writeQueueText(nothingToKeep(model) ? QByteArray() : queueText(login, model), path);
}

bool loadQueue(SavedQueue *out, const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && parseQueueText(file.readAll(), out);
}

SavedQueueRead readSavedQueue(const QString &path)
{
    SavedQueueRead read;
    read.path = path;
    QFile file(path);
    if (!file.exists()) return read;
    const bool parsed = file.open(QIODevice::ReadOnly) && parseQueueText(file.readAll(), &read.saved);
    read.found = parsed ? SavedQueueRead::Found::Queue : SavedQueueRead::Found::Damaged;
    return read;
}

QString keepDamagedQueueAside(const QString &path, QString *reason)
{
    const QFileInfo info(path);
    const auto taken = [&info](const QString &candidate) { return info.dir().exists(candidate); };
    const QString first = info.fileName() + QStringLiteral(".damaged");
    const QString name = taken(first) ? freeName(first, taken) : first;
    const QString aside = info.dir().filePath(name);
    QFile file(path);
    if (file.rename(aside)) return aside;
    *reason = file.errorString();
    return {};
}

} // namespace corvexo::queue
