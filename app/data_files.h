#pragma once
// Where the program keeps its own files ("Sfile", "SLItems", "childpf", "tm")
// and where it finds the pictures it ships with.

#include <QString>

namespace corvexo {

// The per-user data folder (created when missing) joined with a bare file name.
QString dataFilePath(const QString &fileName);

// A shipped resource: next to the executable in a build tree (resources/),
// or under share/corvexo in an installed tree. Empty when not found.
QString resourceFilePath(const QString &fileName);

} // namespace corvexo
