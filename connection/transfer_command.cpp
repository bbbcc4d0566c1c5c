#include "transfer_command.h"

namespace corvexo {

namespace {

TransferCommand make(TransferCommand::Verb verb, const char *word, QStringList operands = {})
{
    TransferCommand c;
    c.verb = verb;
    c.word = QString::fromLatin1(word);
    c.operands = std::move(operands);
    return c;
}

} // namespace

QStringList splitOperands(const QString &line, bool *closed)
{
    QStringList out;
    QString current;
    bool inQuotes = false, have = false;
    for (QChar ch : line) {
        if (inQuotes) {
            if (ch == u'"') inQuotes = false;
            else current += ch;
        } else if (ch == u'"') {
            inQuotes = true;
            have = true;
        } else if (ch == u' ' || ch == u'\t') {
            if (have) out << current;
            current.clear();
            have = false;
        } else {
            current += ch;
            have = true;
        }
    }
    if (have) out << current;
    *closed = !inQuotes;
    return out;
}

QString TransferCommand::text() const
{
    return word + operands.join(u' ');
}

TransferCommand TransferCommand::connectListing() { return make(Verb::List, "dir "); }
TransferCommand TransferCommand::listing() { return make(Verb::List, "Dir "); }
TransferCommand TransferCommand::linkListing()
{
    TransferCommand command = make(Verb::List, "Dir ");
    command.linksShown = true;
    return command;
}
TransferCommand TransferCommand::changeDir(const QString &folder) { return make(Verb::ChangeDir, "CD ", {folder}); }
TransferCommand TransferCommand::parentDir() { return make(Verb::ParentDir, "CDUP "); }
TransferCommand TransferCommand::get(const QString &remote, const QString &localPath)
{
    return make(Verb::Get, "GET ", {remote, localPath});
}
TransferCommand TransferCommand::put(const QString &localPath, const QString &remote)
{
    return make(Verb::Put, "put ", {localPath, remote});
}
TransferCommand TransferCommand::makeDir(const QString &name) { return make(Verb::MakeDir, "mkdir ", {name}); }
TransferCommand TransferCommand::removeDir(const QString &entry) { return make(Verb::RemoveDir, "rmdir ", {entry}); }
TransferCommand TransferCommand::remove(const QString &name) { return make(Verb::Delete, "delete ", {name}); }
TransferCommand TransferCommand::rename(const QString &from, const QString &to)
{
    return make(Verb::Rename, "RENAME ", {from, to});
}

TransferCommand TransferCommand::size(const QString &remote) { return make(Verb::Size, "size ", {remote}); }
TransferCommand TransferCommand::getFrom(const QString &remote, const QString &partPath, qint64 offset,
                                         qint64 knownSize)
{
    TransferCommand c = make(Verb::GetFrom, "reget ", {remote, partPath});
    c.offset = offset;
    c.knownSize = knownSize;
    return c;
}
TransferCommand TransferCommand::putFrom(const QString &localPath, const QString &remote, qint64 offset)
{
    TransferCommand c = make(Verb::PutFrom, "reput ", {localPath, remote});
    c.offset = offset;
    return c;
}

bool TransferCommand::parse(const QString &line, TransferCommand *out)
{
    const QString trimmed = line.trimmed();
    const qsizetype blank = trimmed.indexOf(u' ');
    const QString word = (blank < 0 ? trimmed : trimmed.left(blank)).toLower();
    bool ok = true;
    const QStringList ops = splitOperands(blank < 0 ? QString() : trimmed.mid(blank + 1), &ok);
    if (!ok) return false;
    auto need = [&](qsizetype n) { return ops.size() == n; };
    if (word == u"dir" && need(0)) *out = listing();
    else if (word == u"cd" && need(1)) *out = changeDir(ops[0]);
    else if (word == u"cdup" && need(0)) *out = parentDir();
    else if (word == u"get" && need(2)) *out = get(ops[0], ops[1]);
    else if (word == u"put" && need(2)) *out = put(ops[0], ops[1]);
    else if (word == u"mkdir" && need(1)) *out = makeDir(ops[0]);
    else if (word == u"rmdir" && need(1)) *out = removeDir(ops[0]);
    else if (word == u"delete" && need(1)) *out = remove(ops[0]);
    else if (word == u"rename" && need(2)) *out = rename(ops[0], ops[1]);
    else return false;
    return true;
}

bool isSafeOperand(const QString &name)
{
    for (QChar ch : name)
        if (ch == u'\r' || ch == u'\n' || ch == QChar(0)) return false;
    return true;
}

} // namespace corvexo
