#pragma once
// Reading and writing "Sfile" and "SLItems" whole, in the data folder. A file
// is replaced only when its new content is complete, and is readable by its
// owner only (it holds passwords). Failures are told to the user; the file is
// then left as it was.

#include <QByteArray>
#include <QString>

class QWidget;

namespace corvexo {

inline const QString kDefaultFileName = QStringLiteral("Sfile");
inline const QString kListFileName = QStringLiteral("SLItems");

enum class FileRead { Missing, Read, Failed };

bool settingsFileExists(const QString &fileName);
// Failed has been reported to the user.
FileRead readSettingsBytes(const QString &fileName, QByteArray &bytes, QWidget *messageParent);
// False (reported to the user) when the file could not be replaced.
bool writeSettingsBytes(const QString &fileName, const QByteArray &bytes, QWidget *messageParent);

} // namespace corvexo
