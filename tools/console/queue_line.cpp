#include "queue_line.h"

#include "connection/transfer_command.h"

namespace corvexo::console {

namespace {

// Words as TransferCommand::parse splits them: blanks, or double quotes around a name.
QStringList wordsOf(const QString &line)
{
    QStringList out;
    QString current;
    bool quoted = false, have = false;
    for (QChar ch : line) {
        if (ch == u'"') {
            quoted = !quoted;
            have = true;
        } else if (!quoted && (ch == u' ' || ch == u'\t')) {
            if (have) out << current;
            current.clear();
            have = false;
        } else {
            current += ch;
            have = true;
        }
    }
    if (have) out << current;
    return out;
}

} // namespace

bool parseQueueLine(const QString &line, QueueLine *out, QString *error)
{
    QStringList words = wordsOf(line.trimmed());
    if (words.size() < 2 || words[1] != u"-r") return false;
    const QString verb = words[0].toLower();
    QueueLine parsed;
    if (verb == u"get") parsed.direction = queue::Direction::Download;
    else if (verb == u"put") parsed.direction = queue::Direction::Upload;
    else if (verb == u"delete") parsed.direction = queue::Direction::Delete;
    else return false;
    words.remove(0, 2);
    while (!words.isEmpty() && words.first().startsWith(QStringLiteral("--"))) {
        const QString option = words.takeFirst();
        bool ok = true;
        if (option == u"--resume") {
            parsed.resume = true;
            parsed.existing = queue::ExistingChoice::Resume;
        } else if (option == u"--parallel" && !words.isEmpty()) {
            parsed.parallel = words.takeFirst().toInt(&ok);
            ok = ok && parsed.parallel >= 1 && parsed.parallel <= 10;
        } else if (option == u"--existing" && !words.isEmpty()) {
            ok = queue::choiceOfWord(words.takeFirst(), &parsed.existing) && parsed.existing != queue::ExistingChoice::Ask;
        } else {
            ok = false;
        }
        if (!ok) {
            *error = QStringLiteral("bad option %1 (--parallel 1 to 10, --resume, --existing overwrite|newer|resume|rename|skip)").arg(option);
            return true;
        }
    }
    const qsizetype needed = parsed.direction == queue::Direction::Delete ? 1 : 2;
    if (words.size() != needed || !std::all_of(words.begin(), words.end(), isSafeOperand)) {
        *error = QStringLiteral("wrong operands: ") + line.trimmed();
        return true;
    }
    parsed.source = words[0];
    parsed.target = words.value(1);
    error->clear();
    *out = parsed;
    return true;
}

} // namespace corvexo::console
