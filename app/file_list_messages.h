#pragma once
// Texts of the file lists that the main string table has no text for: the
// titles of their columns. English or Japanese like the table.

#include <QString>

namespace corvexo {

// The title of a file list column (FileListColumn).
QString columnTitle(int column);

} // namespace corvexo
