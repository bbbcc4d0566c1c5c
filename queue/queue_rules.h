#pragma once
// The queue's decisions, as small pure functions: which failures are worth
// another attempt and after what pause, what to do with a target that exists,
// the free name for "rename", and where a download's partial file lives.

#include <QString>
#include <functional>

namespace corvexo::queue {

// A passing fault (a broken connection, 421, a time-out) is tried again; a
// lasting one (550, a full disk, a refused certificate) is not.
enum class FailureKind { Passing, Lasting };

struct FailureFacts {
    int replyCode = 0;          // 0: no reply (a local failure or a lost connection)
    bool sessionLost = false;   // the session ended with the failure
    bool trustRefused = false;  // the server's certificate was refused
};

FailureKind classifyFailure(const FailureFacts &facts);
inline constexpr int MaxAttempts = 4;   // the first and three more
// Whether an item that failed attempts times (1 after the first failure) goes again.
bool shouldRetry(FailureKind kind, int attempts);
// The pause before attempt attempts + 1: base, twice base, four times base.
int retryPauseMs(int attempts, int basePauseMs);

// What the user chose for targets that exist; Ask: not chosen yet.
enum class ExistingChoice { Ask, Overwrite, OverwriteIfNewer, Resume, Rename, Skip };
enum class ExistingAction { Transfer, Resume, Rename, Skip };

struct FileFacts {
    qint64 size = -1;       // -1 unknown
    qint64 modified = 0;    // ms since 1970; 0 unknown
};

ExistingAction decideExisting(ExistingChoice choice, const FileFacts &source, const FileFacts &target);

// "name (1).ext", "name (2).ext", ... the first that taken() refuses; a name
// that begins with its only dot (".profile") keeps the number at its end.
QString freeName(const QString &fileName, const std::function<bool(const QString &)> &taken);

// The hidden file beside a download's target that holds what arrived until it is whole.
QString partPathFor(const QString &targetPath);

// A failure's reason as the user reads it: the part is the program's own
// business, so where the reason names it, it names the target instead.
QString reasonNamingTarget(QString reason, const QString &targetPath);

// The words of the options file and the console tool for each choice.
QString choiceWord(ExistingChoice choice);
bool choiceOfWord(const QString &word, ExistingChoice *choice);

} // namespace corvexo::queue
