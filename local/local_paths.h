#pragma once
// Decisions about local paths that the transfers and the path box make before
// anything touches the disk or the server. Local paths use "/".

#include <QString>
#include <QStringList>

namespace corvexo {

// The file system root: no transfer goes to or from it.
bool isRootFolder(const QString &folder);

// The full local path of a file of the folder: folder + "/" + name.
QString localFilePath(const QString &folder, const QString &name);

// A remote entry that may become a local file name: not empty, not "." or "..",
// no "/" (it would leave the folder) and nothing that cannot travel in a command.
bool isPlainRemoteFileName(const QString &name);

// What a path typed into the path box means: an absolute path as it is, a
// relative one below the folder shown; "~" stands for the home folder.
QString resolveTypedPath(const QString &shownFolder, const QString &typed, const QString &homeFolder);

enum class FolderCheck { Usable, Missing, NotFolder, Unreadable };
// Whether the view can show this folder.
FolderCheck checkFolder(const QString &path);


} // namespace corvexo
