#include "queue_rules.h"

#include <QDir>
#include <QFileInfo>

namespace corvexo::queue {

FailureKind classifyFailure(const FailureFacts &facts)
{
    if (facts.trustRefused) return FailureKind::Lasting;
    const int code = facts.replyCode;
    // No reply: the connection broke or timed out (passing), or the local disk failed (lasting).
    if (code == 0) return facts.sessionLost ? FailureKind::Passing : FailureKind::Lasting;
    if (code == 452 || code == 552) return FailureKind::Lasting;   // the server's disk is full
    return code >= 400 && code < 500 ? FailureKind::Passing : FailureKind::Lasting;
}

bool shouldRetry(FailureKind kind, int attempts)
{
    return kind == FailureKind::Passing && attempts < MaxAttempts;
}

int retryPauseMs(int attempts, int basePauseMs)
{
    return basePauseMs << std::clamp(attempts - 1, 0, 8);
}

ExistingAction decideExisting(ExistingChoice choice, const FileFacts &source, const FileFacts &target)
{
    switch (choice) {
    case ExistingChoice::Overwrite: return ExistingAction::Transfer;
    case ExistingChoice::OverwriteIfNewer:
        // Only a known, later time replaces a file.
        return source.modified > 0 && target.modified > 0 && source.modified > target.modified
                   ? ExistingAction::Transfer : ExistingAction::Skip;
    case ExistingChoice::Resume:
        return source.size >= 0 && target.size >= 0 && target.size < source.size ? ExistingAction::Resume
                                                                                 : ExistingAction::Skip;
    case ExistingChoice::Rename: return ExistingAction::Rename;
    case ExistingChoice::Ask:
    case ExistingChoice::Skip: break;
    }
    return ExistingAction::Skip;
}

QString freeName(const QString &fileName, const std::function<bool(const QString &)> &taken)
{
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const bool hasSuffix = dot > 0;
    const QString stem = hasSuffix ? fileName.left(dot) : fileName;
    const QString suffix = hasSuffix ? fileName.mid(dot) : QString();
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem).arg(n).arg(suffix);
        if (!taken(candidate)) return candidate;
    }
}

QString partPathFor(const QString &targetPath)
{
    const QFileInfo target(targetPath);
    return target.dir().filePath(u'.' + target.fileName() + QStringLiteral(".corvexo-part"));
}

QString reasonNamingTarget(QString reason, const QString &targetPath)
{
    const QString part = partPathFor(targetPath);
    reason.replace(part, targetPath);
    return reason.replace(QFileInfo(part).fileName(), QFileInfo(targetPath).fileName());
}

namespace {

constexpr std::pair<ExistingChoice, const char16_t *> ChoiceWords[] = {
    {ExistingChoice::Ask, u"ask"},         {ExistingChoice::Overwrite, u"overwrite"},
    {ExistingChoice::OverwriteIfNewer, u"newer"}, {ExistingChoice::Resume, u"resume"},
    {ExistingChoice::Rename, u"rename"},   {ExistingChoice::Skip, u"skip"},
};

} // namespace

QString choiceWord(ExistingChoice choice)
{
    for (const auto &[c, word] : ChoiceWords)
        if (c == choice) return QString::fromUtf16(word);
    return {};
}

bool choiceOfWord(const QString &word, ExistingChoice *choice)
{
    for (const auto &[c, text] : ChoiceWords)
        if (word == QString::fromUtf16(text)) {
            *choice = c;
            return true;
        }
    return false;
}

} // namespace corvexo::queue
