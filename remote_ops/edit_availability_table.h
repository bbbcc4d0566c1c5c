#pragma once
// Which Edit commands fit what the user points at in either file list. The
// window asks these tables and switches its menu items and buttons to match.

#include <QString>

#include <optional>

namespace corvexo {

struct EditAvailability {
    bool upload = false;          // UpL
    bool download = false;        // DownL
    bool parentDir = false;       // CupD
    bool refresh = false;         // Refr
    bool rename = false;          // FrDRname
    bool makeDir = false;         // FMkD
    bool remove = false;          // Fdelete
    bool downloadButton = false;  // toolbar button 5
    bool uploadButton = false;    // toolbar button 6

    static EditAvailability allOff() { return {}; }
    static EditAvailability allOn() { return {true, true, true, true, true, true, true, true, true}; }
    bool operator==(const EditAvailability &) const = default;
};

// The local list's routine. An empty result leaves every command as it is.
std::optional<EditAvailability> localListAvailability(bool connected, int entryCount, bool currentSelected,
                                                      bool insideMouseHandler);

// The remote list's routine, for its current entry's text. An empty result leaves every
// command as it is (list disabled, or no entry selected).
std::optional<EditAvailability> remoteListAvailability(bool connected, bool listEnabled, bool currentSelected,
                                                       const QString &entryText);

// Only "./" and "../" stand for this folder and the one above; "abc./" is a folder like any other.
bool isSelfOrParentEntry(const QString &entryText);

} // namespace corvexo
