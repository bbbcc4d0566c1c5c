#include "queue_options.h"

#include "files/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace corvexo::queue {

QueueOptions parseOptions(const QByteArray &text)
{
    QueueOptions options;
    for (const QByteArray &rawLine : text.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) continue;
        const QByteArray key = line.left(equals).trimmed();
        const QString value = QString::fromUtf8(line.mid(equals + 1).trimmed());
        bool ok = false;
        if (key == "parallel-sessions") {
            const int n = value.toInt(&ok);
            if (ok && n >= QueueOptions::MinSessions && n <= QueueOptions::MaxSessions) options.parallelSessions = n;
        } else if (key == "existing-targets") {
            choiceOfWord(value, &options.existingTargets);
        }
    }
    return options;
}

QByteArray optionsText(const QueueOptions &options)
{
    return "parallel-sessions=" + QByteArray::number(options.parallelSessions) + "\nexisting-targets="
           + choiceWord(options.existingTargets).toUtf8() + '\n';
}

QString optionsPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("options"));
}

QueueOptions loadOptions(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? parseOptions(file.read(64 * 1024)) : QueueOptions {};
}

QString saveOptions(const QueueOptions &options, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeFileWhole(path, optionsText(options));
}

} // namespace corvexo::queue
