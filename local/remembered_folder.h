#pragma once
// "childpf": the last local folder, one line (the path, CR LF, no quotes).
// It is read back as one comma-separated field, so a path with a comma comes
// back only up to the comma.

#include <QByteArray>
#include <QString>

namespace corvexo {

// The first field of the file's text: leading blanks skipped; a field in double
// quotes is read without them; an unquoted field ends at the first comma or line end.
QString firstField(const QString &content);

// The file's whole content for a folder path.
QByteArray rememberedFolderLine(const QString &folder);

struct RememberedFolderRead {
    bool present = false;   // the file exists
    bool readable = false;  // and it could be read
    QString folder;         // its first field
};
RememberedFolderRead readRememberedFolder(const QString &filePath);

// Replaces the file whole; an old file stays as it was when the write fails.
// Returns an empty text on success, else the reason.
QString writeRememberedFolder(const QString &filePath, const QString &folder);

} // namespace corvexo
