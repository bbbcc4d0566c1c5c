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
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

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
// Gives finished files their final names, each replacing any file of that name
// in one step, once everything written to the file systems that hold them has
// reached the disk: one sync for many small files instead of one each. Blocks:
// call it beside the window's thread. One reason per move, empty on success; a
// file that could not be moved keeps its own name, and its target is as it was.
QStringList moveIntoPlaceDurably(const QList<std::pair<QString, QString>> &moves);

// A write past the process's file-size limit raises SIGXFSZ, which ends the
// program; ignored, the write fails with "File too large" and is reported
// like any other. Called once at start-up.
void ignoreFileSizeSignal();

} // namespace corvexo
