#include "queue_line.h"

#include "connection/transfer_command.h"

namespace corvexo::console {

bool parseQueueLine(const QString &line, QueueLine *out, QString *error)
{
    bool closed = true;
    QStringList words = splitOperands(line.trimmed(), &closed);
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
    if (!closed || words.size() != needed || !std::all_of(words.begin(), words.end(), isSafeOperand)) {
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
