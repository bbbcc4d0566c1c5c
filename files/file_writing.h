#pragma once
// The one way the program writes a file: into a temporary file beside the
// target (QSaveFile), with every byte's arrival checked before the target is
// replaced. A failure leaves the older file as it was and gives the system's
// reason ("No space left on device", "File too large").
//
// Both the transfer engine (downloads) and the windows (the settings files,
// "childpf", "tm") write files, so this sits in its own small library below
// both, with nothing but QtCore.

#include <QByteArray>
#include <QFileDevice>
#include <QString>

class QFile;
class QIODevice;
class QSaveFile;

namespace corvexo {

// Opens the save file for writing; owner-only when asked (files holding passwords).
// Unbuffered, so a write that fails says so at once, with the system's reason.
bool openForWriting(QSaveFile &file, bool ownerOnly = false);

// Flushes what is still buffered, checks it, and only then commits. With the Qt
// in use, commit() does not notice a failed flush of its own buffer.
bool commitChecked(QSaveFile &file);

// Writes all of data, going on after a short write, so that a failure leaves
// the system's reason in the device's errorString(). False on failure.
bool writeAll(QIODevice &device, const char *data, qint64 size);

// Writes bytes as the whole new content of path. Empty on success; otherwise the
// reason, and the file at path is as it was before.
QString writeFileWhole(const QString &path, const QByteArray &bytes, bool ownerOnly = false);

// A file that grows across attempts (a download that may break and go on
// later): opened for writing, keeping its first keepBytes and positioned after
// them (fewer when it is shorter). Unbuffered, like openForWriting().
bool openContinuing(QFile &file, qint64 keepBytes);
// Everything written to it reaches the disk before it may take its final name.
bool syncChecked(QFile &file);
// Gives a finished file its final name, replacing any file of that name in one
// step. Empty on success; otherwise the reason, and both files are as they were.
QString moveIntoPlace(const QString &from, const QString &to);

// A write past the process's file-size limit raises SIGXFSZ, which ends the
// program; ignored, the write fails with "File too large" and is reported
// like any other. Called once at start-up.
void ignoreFileSizeSignal();

} // namespace corvexo
