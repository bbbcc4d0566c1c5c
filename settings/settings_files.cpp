#include "settings_files.h"
#include "settings_messages.h"
#include "app/data_files.h"
#include "app/message_box.h"
#include "files/file_writing.h"

#include <QFile>
#include <QFileInfo>

namespace corvexo {

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
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        showMessage(messageParent, cannotReadMessage(fileName, path, file.errorString()));
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

} // namespace corvexo
