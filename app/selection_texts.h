#pragma once
// Texts of the commands that act on a selection, a dropped set of files or
// the local folder as a whole, in the user interface's language.

#include <QString>

namespace corvexo {

// "Do you want to delete 3 files and 1 folder from the server?"
QString deleteCountQuestion(qint64 files, qint64 folders);
// Shown while the folders to be deleted are counted.
QString countingText();
// Nothing was deleted because a folder could not be listed.
QString countFailedText(const QString &path, const QString &reason);
// A drop held an address that is not a local file.
QString notFilesDroppedText(const QString &address);
QString uploadThisFolderMenuText();

} // namespace corvexo
