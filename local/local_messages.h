#pragma once
// Texts of the local view and the transfers for situations the main string
// table has no text for: a folder that cannot be shown, a remembered folder
// that cannot be kept, a transfer without a file to transfer, and a remote
// name that would leave the local folder. English or Japanese like the table.

#include <QString>

namespace corvexo {

// Status bar texts. kept = the folder still shown.
QString folderMissingText(const QString &path, const QString &kept);
QString notAFolderText(const QString &path, const QString &kept);
QString folderUnreadableText(const QString &path, const QString &kept);
QString driveUnreadableText(const QString &drive, const QString &kept);
QString rememberedFolderNotReadText();

// Message box texts.
QString noRemoteEntryText();   // nothing to download: the remote list has no current entry
QString noLocalEntryText();    // nothing to upload: the local list has no current entry
QString unsafeRemoteNameText(const QString &name);

} // namespace corvexo
