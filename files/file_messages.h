#pragma once
// The message for a file of the program's own that could not be saved, in
// the user interface's language: it names the file, gives the system's
// reason and says that the older file was kept.

#include <QString>

namespace corvexo {

QString fileNotSavedMessage(const QString &fileName, const QString &path, const QString &reason);

} // namespace corvexo
