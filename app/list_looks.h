#pragma once
// The lists' column widths and sort order, kept between runs in the program's
// own state file in the user's configuration folder (never in the connection
// settings' files). A missing or unreadable file gives the program's own look.

#include "file_list_model.h"

#include <QString>

namespace corvexo {

QString listLooksFilePath();
FileListLook readListLook(const QString &listName);
void writeListLook(const QString &listName, const FileListLook &look);

} // namespace corvexo
