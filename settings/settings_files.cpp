#include "settings_files.h"
#include "settings_messages.h"
#include "app/data_files.h"
#include "app/message_box.h"
#include "files/file_writing.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace corvexo {

namespace {

// The file's content, or the reason it was refused: a line longer than any
// setting, or a file larger than any list, is refused before it is held whole.
QString readWithinBounds(QFile &file, QByteArray &bytes)
{
    QByteArray piece(64 * 1024, Qt::Uninitialized);
    qsizetype lineBytes = 0;
    while (true) {
        const qint64 got = file.read(piece.data(), piece.size());
        if (got < 0) return file.errorString();
        if (got == 0) return {};
        for (qint64 i = 0; i < got; ++i) {
            const char c = piece[i];
            lineBytes = c == '\r' || c == '\n' ? 0 : lineBytes + 1;
            if (lineBytes > kMaxSettingLineBytes) return lineTooLongReason(kMaxSettingLineBytes);
        }
        bytes.append(piece.constData(), got);
        if (bytes.size() > kMaxSettingsFileBytes) return fileTooLargeReason(kMaxSettingsFileBytes);
    }
}

} // namespace

bool settingsFileExists(const QString &fileName)
{
    return QFileInfo::exists(dataFilePath(fileName));
}

FileRead readSettingsBytes(const QString &fileName, QByteArray &bytes, QWidget *messageParent)
{
    const QString path = dataFilePath(fileName);
    if (!QFileInfo::exists(path)) return FileRead::Missing;
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        const QString reason = QFileInfo(path).isDir() ? isFolderReason() : file.errorString();
        showMessage(messageParent, cannotReadMessage(fileName, path, reason));
        return FileRead::Failed;
    }
    const QString refusal = readWithinBounds(file, bytes);
    if (!refusal.isEmpty()) {
        bytes.clear();
        showMessage(messageParent, cannotReadMessage(fileName, path, refusal));
        return FileRead::Failed;
    }
    return FileRead::Read;
}

bool writeSettingsBytes(const QString &fileName, const QByteArray &bytes, QWidget *messageParent)
{
    const QString path = dataFilePath(fileName);
    const QString reason = QFileInfo(path).isDir() ? isFolderReason() : writeFileWhole(path, bytes, true);
    if (reason.isEmpty()) return true;
    showMessage(messageParent, cannotWriteMessage(fileName, path, reason));
    return false;
}

std::unique_ptr<QLockFile> lockSettingsFile(const QString &fileName, QWidget *messageParent)
{
    const QString path = dataFilePath(fileName);
    auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    // The other copy holds it only while it rewrites a small file.
    constexpr int waitMs = 1000;
    // A lock file that cannot be made (a full disk) does not stop the write, whose own
    // failure then gives the user the system's reason.
    if (lock->tryLock(waitMs) || lock->error() != QLockFile::LockFailedError) return lock;
    showMessage(messageParent, cannotWriteMessage(fileName, path, fileInUseReason()));
    return nullptr;
}

} // namespace corvexo
