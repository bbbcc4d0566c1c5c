#include "setting_checks.h"
#include "setting_lines.h"
#include "settings_messages.h"
#include "app/strings/string_table.h"
#include "connection/transfer_address.h"

namespace corvexo {

namespace {

const QString kLineEnd = QStringLiteral("\r\n");

QString problemLine(const QString &text) { return QStringLiteral("* ") + text + kLineEnd; }

// A field's name as its label reads, without the closing colon.
QString fieldName(int index)
{
    QString name;
    switch (index) {
    case 0:
        name = text(107) + (uiLanguage() == UiLanguage::Japanese ? QString() : QStringLiteral(" ")) + text(108);
        break;
    case 1: name = text(180); break;
    case 2: name = text(179); break;
    case 3: name = text(178); break;
    default: name = text(177); break;
    }
    while (name.endsWith(u':') || name.endsWith(QChar(0xFF1A))) name.chop(1);
    return name;
}

} // namespace

std::optional<QString> hostForCurrentSetting(const QString &typed)
{
    // The default protocol's prefix is left out of the current setting; other schemes stay.
    const QString ftpPrefix = QStringLiteral("ftp://");
    if (!parseTransferAddress(typed) && typed != ftpPrefix) return std::nullopt;
    return typed.startsWith(ftpPrefix) ? typed.mid(ftpPrefix.size()) : typed;
}

QString problemLines(const SettingProblems &p, const QString &typedHost)
{
    QString lines;
    if (p.bURL) lines += problemLine(hostProblem(typedHost));
    const std::pair<bool, int> flags[] = {{p.bPWO, 123}, {p.bUNM, 124}, {p.bPOR, 125}, {p.bLIT, 126}};
    for (const auto &[raised, number] : flags)
        if (raised) lines += problemLine(text(number));
    return lines;
}

QString wrongSettingMessage(const QString &problems)
{
    return text(127) + kLineEnd + kLineEnd + text(128) + kLineEnd + problems;
}

QString doubleQuoteLine(const QStringList &fieldValues)
{
    QStringList names;
    for (int i = 0; i < fieldValues.size(); ++i)
        if (!fitsQuotedForm(fieldValues.at(i))) names.append(fieldName(i));
    return names.isEmpty() ? QString() : problemLine(doubleQuoteProblem(names));
}

bool isPortNumber(const QString &portText)
{
    if (portText.isEmpty() || portText.size() > 5) return false;
    for (const QChar c : portText)
        if (c < u'0' || c > u'9') return false;
    const int port = portText.toInt();
    return port >= 1 && port <= 65535;
}

QString portRangeLine(const QString &portText)
{
    if (portText.isEmpty() || isPortNumber(portText)) return {};
    return problemLine(portRangeProblem(portText));
}

} // namespace corvexo
