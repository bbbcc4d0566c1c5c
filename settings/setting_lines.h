#pragma once
// The line forms of "Sfile" and "SLItems" and the one field reader for both.
//
// Quoted form: "host","password","user","port","name" CR LF.
// Plain form:  host,password,user,port,name CR LF (older files; still read).
// The reader skips blanks before a field; a field that begins with a double
// quote runs to the next double quote (the quotes are dropped, anything up to
// the next comma is ignored); any other field runs to the next comma or line end.

#include "settings_store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace corvexo {

inline constexpr int kFieldsPerLine = 5;

// The fields of one line (without its line end). An empty line gives one empty field.
QStringList readLineFields(const QString &line);

// The file's lines, split at CR LF, LF or CR; a final line end does not start a new line.
QStringList splitLines(const QString &content);

ConnectionSetting settingFromFields(const QStringList &fields);  // needs five fields
QStringList fieldsOf(const ConnectionSetting &setting);

QString quotedLine(const QStringList &fields);  // with CR LF
QString plainLine(const QStringList &fields);   // with CR LF

// True when the quoted form keeps this value as it is: no double quote, no line break.
bool fitsQuotedForm(const QString &value);

// The line that brings these five values back unchanged through the reader:
// the quoted form, or the plain form where only that one does (a value with a
// double quote from an older file). Empty when neither does.
std::optional<QString> faithfulLine(const QStringList &fields);

// What a settings file holds, read line by line. Empty lines are passed over.
struct SettingsFileContent {
    QVector<ConnectionSetting> records;  // in file order, at most maxRecords
    QVector<int> badLines;               // 1-based numbers of lines without exactly five fields
    int recordsBeyondLimit = 0;          // well-formed lines left unread past maxRecords
    bool intact() const { return badLines.isEmpty() && recordsBeyondLimit == 0; }
};
SettingsFileContent readSettingsFile(const QByteArray &bytes, int maxRecords);

// The default setting: the first line that is not empty, when it holds five fields.
std::optional<ConnectionSetting> readDefaultSetting(const QByteArray &bytes);

} // namespace corvexo
