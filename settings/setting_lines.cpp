#include "setting_lines.h"

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QChar kQuote = u'"';
const QChar kComma = u',';

} // namespace

QStringList readLineFields(const QString &line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype p = 0;
    while (true) {
        while (p < n && line.at(p) == u' ') ++p;
        if (p < n && line.at(p) == kQuote) {
            const qsizetype close = line.indexOf(kQuote, p + 1);
            const qsizetype end = close < 0 ? n : close;
            fields.append(line.mid(p + 1, end - p - 1));
            p = close < 0 ? n : line.indexOf(kComma, close + 1);
            if (p < 0) p = n;
        } else {
            qsizetype comma = line.indexOf(kComma, p);
            if (comma < 0) comma = n;
            fields.append(line.mid(p, comma - p));
            p = comma;
        }
        if (p >= n) break;
        ++p;  // past the comma: another field follows, perhaps empty
    }
    return fields;
}

QStringList splitLines(const QString &content)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < content.size(); ++i) {
        const QChar c = content.at(i);
        if (c != u'\r' && c != u'\n') continue;
        lines.append(content.mid(start, i - start));
        if (c == u'\r' && i + 1 < content.size() && content.at(i + 1) == u'\n') ++i;
        start = i + 1;
    }
    if (start < content.size()) lines.append(content.mid(start));
    return lines;
}

ConnectionSetting settingFromFields(const QStringList &fields)
{
    return {fields.value(0), fields.value(1), fields.value(2), fields.value(3), fields.value(4)};
}

QStringList fieldsOf(const ConnectionSetting &s)
{
    return {s.HostAddress, s.Password, s.UserName, s.PortAddress, s.SettingName};
}

QString quotedLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &value : fields) quoted.append(kQuote + value + kQuote);
    return quoted.join(kComma) + kLineEnd;
}

QString plainLine(const QStringList &fields)
{
    return fields.join(kComma) + kLineEnd;
}

bool fitsQuotedForm(const QString &value)
{
    return !value.contains(kQuote) && !value.contains(u'\r') && !value.contains(u'\n');
}

std::optional<QString> faithfulLine(const QStringList &fields)
{
    for (const QString &line : {quotedLine(fields), plainLine(fields)}) {
        const QStringList lines = splitLines(line);
        if (lines.size() == 1 && readLineFields(lines.first()) == fields) return line;
    }
    return std::nullopt;
}

SettingsFileContent readSettingsFile(const QByteArray &bytes, int maxRecords)
{
    SettingsFileContent content;
    const QStringList lines = splitLines(QString::fromUtf8(bytes));
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).isEmpty()) continue;
        const QStringList fields = readLineFields(lines.at(i));
        if (fields.size() != kFieldsPerLine)
            content.badLines.append(i + 1);
        else if (content.records.size() < maxRecords)
            content.records.append(settingFromFields(fields));
        else
            ++content.recordsBeyondLimit;
    }
    return content;
}

std::optional<ConnectionSetting> readDefaultSetting(const QByteArray &bytes)
{
    for (const QString &line : splitLines(QString::fromUtf8(bytes))) {
        if (line.isEmpty()) continue;
        const QStringList fields = readLineFields(line);
        if (fields.size() != kFieldsPerLine) return std::nullopt;
        return settingFromFields(fields);
    }
    return std::nullopt;
}

} // namespace corvexo
