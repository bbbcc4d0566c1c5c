#include "drop_contents.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QIODevice>
#include <QMimeData>
#include <QUrl>

namespace corvexo {

namespace {

const QString kUriListFormat = QStringLiteral("text/uri-list");

QString sideName(ListSide side)
{
    return side == ListSide::Local ? QStringLiteral("local") : QStringLiteral("remote");
}

// A file URL names a local file only without a host, or with this machine's loopback name.
QString localPathOf(const QUrl &url)
{
    if (!url.isValid() || url.scheme().compare(u"file", Qt::CaseInsensitive) != 0) return {};
    if (!url.host().isEmpty() && url.host().compare(u"localhost", Qt::CaseInsensitive) != 0) return {};
    const QString path = QDir::cleanPath(url.path(QUrl::FullyDecoded));
    // A folder dropped as "dir/" still has its name; the root has none to give the remote copy.
    if (!path.startsWith(u'/') || path == u"/") return {};
    return path;
}

} // namespace

QString listDragFormat()
{
    return QStringLiteral("application/x-corvexo-list-entries");
}

QMimeData *makeListDragData(ListSide side, const QStringList &entries)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    // The process is named so that another running copy's entries are not read as this one's.
    out << sideName(side) << qint64(QCoreApplication::applicationPid()) << entries;
    auto *data = new QMimeData;
    data->setData(listDragFormat(), bytes);
    return data;
}

UriListReading readUriList(const QByteArray &uriList)
{
    UriListReading reading;
    for (const QByteArray &rawLine : uriList.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QString path = localPathOf(QUrl::fromEncoded(line));
        if (!path.isEmpty()) {
            reading.paths << path;
        } else if (reading.refused.isEmpty()) {
            reading.refused = QUrl::fromPercentEncoding(line);
        }
    }
    return reading;
}

DropContents readDrop(const QMimeData &data)
{
    DropContents contents;
    if (data.hasFormat(listDragFormat())) {
        QDataStream in(data.data(listDragFormat()));
        QString side;
        qint64 pid = 0;
        QStringList entries;
        in >> side >> pid >> entries;
        const bool ours = in.status() == QDataStream::Ok && pid == QCoreApplication::applicationPid()
                          && (side == sideName(ListSide::Local) || side == sideName(ListSide::Remote));
        if (ours && !entries.isEmpty()) {
            contents.kind = DropContents::Kind::ListEntries;
            contents.side = side == sideName(ListSide::Local) ? ListSide::Local : ListSide::Remote;
            contents.entries = entries;
            return contents;
        }
    }
    if (!data.hasFormat(kUriListFormat)) return contents;
    UriListReading reading = readUriList(data.data(kUriListFormat));
    if (!reading.refused.isEmpty()) {
        contents.kind = DropContents::Kind::NotFiles;
        contents.refused = reading.refused;
    } else if (!reading.paths.isEmpty()) {
        contents.kind = DropContents::Kind::LocalFiles;
        contents.paths = std::move(reading.paths);
    }
    return contents;
}

} // namespace corvexo
