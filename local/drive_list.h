#pragma once
// Drive1's entries: the mounted volumes, the file system root first.

#include <QString>
#include <QStringList>

namespace corvexo {

// Root paths in the drive box's order: "/" first, then the others by name, each once.
QStringList orderedDriveRoots(const QStringList &roots);

// The root paths of the mounted volumes that are ready, in the drive box's order.
QStringList mountedDriveRoots();

// The entry of roots that holds path (the longest root it lies under); -1 when none.
int driveIndexOf(const QStringList &roots, const QString &path);

} // namespace corvexo
