#pragma once
// The checks behind OK, Add and Set-default, without the window: what the
// host address becomes in the current setting and how problems are worded.

#include <QString>
#include <QStringList>

#include <optional>

namespace corvexo {

// Slot 1 of the current setting for a typed host address: the text after
// "ftp://" (also when nothing follows), or the whole text for the other forms
// a connection takes (see connection/transfer_address.h); nothing when it
// names no host.
std::optional<QString> hostForCurrentSetting(const QString &typed);

struct SettingProblems {
    bool bURL = false;  // host address not acceptable
    bool bPWO = false;  // password missing
    bool bUNM = false;  // user name missing
    bool bPOR = false;  // port missing
    bool bLIT = false;  // setting name missing
};

// One "* " line with CR LF per raised flag, in field order; the host's line names typedHost.
QString problemLines(const SettingProblems &problems, const QString &typedHost);
// The message box text that reports the problems.
QString wrongSettingMessage(const QString &problems);
// A "* " line naming the fields whose values hold a double quote; empty when none does.
// Fields in order host address, password, user name, port, setting name.
QString doubleQuoteLine(const QStringList &fieldValues);

// A port typed in the settings window: digits that make a number from 1 to 65535.
bool isPortNumber(const QString &portText);
// A "* " line when a port was typed but is no port; empty otherwise (also when nothing was typed).
QString portRangeLine(const QString &portText);

} // namespace corvexo
