#include "ftp_listing.h"

#include <QRegularExpression>
#include <QStringView>

namespace corvexo::ftp {

namespace {

bool isSelfOrParent(const QString &name)
{
    return name == u"." || name == u"..";
}

bool isListableName(const QString &name)
{
    if (name.isEmpty() || isSelfOrParent(name)) return false;
    for (QChar ch : name)
        if (ch == u'/' || ch == u'\r' || ch == u'\n' || ch == QChar(0)) return false;
    return true;
}

bool isMonth(QStringView word)
{
    static const char *const months[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                         "jul", "aug", "sep", "oct", "nov", "dec"};
    if (word.size() != 3) return false;
    for (const char *month : months)
        if (word.compare(QLatin1String(month), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool isAllDigits(QStringView word)
{
    if (word.isEmpty()) return false;
    for (QChar ch : word)
        if (!ch.isDigit()) return false;
    return true;
}

// "12:30", "12:30:05" or "2024".
bool isTimeOrYear(QStringView word)
{
    if (word.size() == 4 && isAllDigits(word)) return true;
    const qsizetype colon = word.indexOf(u':');
    if (colon < 1 || colon > 2) return false;
    const QStringView hours = word.left(colon), rest = word.mid(colon + 1);
    if (!isAllDigits(hours)) return false;
    if (rest.size() == 2) return isAllDigits(rest);
    return rest.size() == 5 && rest[2] == u':' && isAllDigits(rest.left(2)) && isAllDigits(rest.mid(3));
}

struct Token {
    QStringView text;
    qsizetype end;   // index just past the token in the line
};

QList<Token> tokensOf(const QString &line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == u' ') ++i;
        const qsizetype start = i;
        while (i < line.size() && line[i] != u' ') ++i;
        if (i > start) tokens.append({QStringView(line).mid(start, i - start), i});
    }
    return tokens;
}

} // namespace

std::optional<ListingEntry> parseMlsdLine(const QString &line)
{
    // Facts hold no blank, so the first blank starts the name, which is kept whole.
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0) return std::nullopt;
    const QString name = line.mid(blank + 1);
    QString type;
    for (const QString &fact : line.left(blank).split(u';', Qt::SkipEmptyParts)) {
        const qsizetype equals = fact.indexOf(u'=');
        if (equals > 0 && fact.left(equals).compare(u"type", Qt::CaseInsensitive) == 0)
            type = fact.mid(equals + 1).toLower();
    }
    if (type == u"cdir" || type == u"pdir" || isSelfOrParent(name)) return std::nullopt;
    const bool folder = type == u"dir";
    return ListingEntry{name, folder};
}

std::optional<ListingEntry> parseUnixListLine(const QString &line)
{
    if (line.size() < 10 || !QStringLiteral("-dlbcps").contains(line[0])) return std::nullopt;
    const QList<Token> tokens = tokensOf(line);
    // Owner and group may be missing or hold digits, so find the date by its shape:
    // size, month, day, time or year, then the name after one blank.
    for (qsizetype i = 2; i + 2 < tokens.size(); ++i) {
        if (!isMonth(tokens[i].text) || !isAllDigits(tokens[i - 1].text)) continue;
        if (!isAllDigits(tokens[i + 1].text) || tokens[i + 1].text.size() > 2) continue;
        if (!isTimeOrYear(tokens[i + 2].text)) continue;
        const qsizetype nameStart = tokens[i + 2].end + 1;
        if (nameStart >= line.size()) return std::nullopt;
        QString name = line.mid(nameStart);
        bool folder = line[0] == u'd';
        if (line[0] == u'l') {
            const qsizetype arrow = name.indexOf(QStringLiteral(" -> "));
            if (arrow > 0) {
                folder = name.endsWith(u'/');
                name.truncate(arrow);
            }
        }
        if (isSelfOrParent(name)) return std::nullopt;
        return ListingEntry{name, folder};
    }
    return std::nullopt;
}

std::optional<ListingEntry> parseDosListLine(const QString &line)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\d{1,2}-\d{1,2}-\d{2,4}\s+\d{1,2}:\d{2}(\s*[AaPp][Mm])?\s+(<DIR>|\d+)\s+(.+)$)"));
    const auto match = pattern.match(line);
    if (!match.hasMatch()) return std::nullopt;
    const QString name = match.captured(3);
    if (isSelfOrParent(name)) return std::nullopt;
    return ListingEntry{name, match.captured(2) == u"<DIR>"};
}

std::optional<ListingEntry> parseListLine(const QString &line)
{
    if (line.isEmpty()) return std::nullopt;
    if (line[0].isDigit()) return parseDosListLine(line);
    return parseUnixListLine(line);
}

QList<ListingEntry> parseListing(const QByteArray &answer, ListingFormat format)
{
    QList<ListingEntry> entries;
    const QString text = QString::fromUtf8(answer);
    for (QStringView view : QStringView(text).split(u'\n')) {
        if (view.endsWith(u'\r')) view.chop(1);
        if (view.isEmpty()) continue;
        const QString line = view.toString();
        const auto entry = format == ListingFormat::Mlsd ? parseMlsdLine(line) : parseListLine(line);
        if (entry && isListableName(entry->name)) entries.append(*entry);
    }
    return entries;
}

QByteArray listingText(const QList<ListingEntry> &entries, bool atRoot)
{
    QString text;
    text.reserve(entries.size() * 24);
    if (!atRoot) text += QStringLiteral("../");
    for (const ListingEntry &entry : entries) {
        if (!text.isEmpty()) text += QStringLiteral("\r\n");
        text += entry.name;
        if (entry.isFolder) text += u'/';
    }
    return text.toUtf8();
}

} // namespace corvexo::ftp
