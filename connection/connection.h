#pragma once
// Decisions of connecting: the port to use and how each refusal of the
// transfer control is told to the user.

#include <QString>

namespace corvexo {

// The port of a setting: a port in its host text, else its port field's number when
// that is a whole number from 1 to 65535, else (empty, or anything the settings
// window should not have let through) the port of the host text's protocol.
quint16 remotePortFor(const QString &hostText, const QString &portText);

struct RefusalReaction {
    enum class Place { Nothing, MessageBox, StatusText, Caption };
    Place place = Place::Nothing;
    int textNumber = 0;        // string table number of the text shown
    bool disconnects = false;  // Connect ends the connection after telling it
};

// How Connect tells a refusal of execute, by its error number (0: nothing to tell).
// Busy (35764) gets its caption row; Connect itself decides whether the control is still executing.
RefusalReaction refusalReaction(int errorNumber);

} // namespace corvexo
