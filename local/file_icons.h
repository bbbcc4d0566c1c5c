#pragma once
// The icon of a list entry, chosen from its name alone: no file is opened and
// no attribute is read. The local and remote tables differ on purpose (the
// local one also knows some upper-case extensions, only the remote one knows
// folders), so each side has its own function.

#include "app/file_list_model.h"

#include <QString>
#include <Qt>

class QFileInfo;

namespace corvexo {

// The item data role under which both file lists keep an entry's image number.
inline constexpr int kImageNumberRole = Qt::UserRole + 1;

// Image for a local file name (ListView1): by its last four characters, case-sensitive.
int localImageFor(const QString &fileName);

// Image for a remote listing line (ListView2): a trailing "/" is a folder,
// otherwise by its last four characters, lower-case forms only.
int remoteImageFor(const QString &entry);

// A local file's row in ListView1: its name, picture, size and time (none for a file not there).
FileListEntry localListEntry(const QFileInfo &file);

} // namespace corvexo
