#pragma once
// Reading and writing "Sfile" and "SLItems" whole, in the data folder. A file
// is replaced only when its new content is complete, and is readable by its
// owner only (it holds passwords). Failures are told to the user; the file is
// then left as it was.

#include <QByteArray>
#include <QString>

#include <memory>

class QLockFile;
class QWidget;

namespace corvexo {

inline const QString kDefaultFileName = QStringLiteral("Sfile");
inline const QString kListFileName = QStringLiteral("SLItems");

// Far beyond any real setting or list; larger ones are refused unread.
inline constexpr qsizetype kMaxSettingLineBytes = 16 * 1024;
inline constexpr qsizetype kMaxSettingsFileBytes = 2 * 1024 * 1024;

enum class FileRead { Missing, Read, Failed };

bool settingsFileExists(const QString &fileName);
// Failed has been reported to the user.
FileRead readSettingsBytes(const QString &fileName, QByteArray &bytes, QWidget *messageParent);
// False (reported to the user) when the file could not be replaced.
bool writeSettingsBytes(const QString &fileName, const QByteArray &bytes, QWidget *messageParent);

// Held while a settings file is read and rewritten (a lock file beside it), so
// that two running copies of the program do not lose each other's changes.
// Null, told to the user, when the other copy does not let go in time; a lock
// file that cannot be made does not stop the write.
std::unique_ptr<QLockFile> lockSettingsFile(const QString &fileName, QWidget *messageParent);

} // namespace corvexo
