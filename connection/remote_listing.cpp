#include "remote_listing.h"

#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "app/image_list.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "files/file_messages.h"
#include "files/file_writing.h"
#include "local/file_icons.h"

#include <QFile>
#include <QHash>
#include <QListWidgetItem>

namespace corvexo {

QString tmFileContent(const QString &answer)
{
    return answer + QStringLiteral("\r\n");
}

QStringList listingLines(const QString &tmText)
{
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < tmText.size(); ++i) {
        const QChar c = tmText.at(i);
        if (c != u'\r') {
            line += c;
            continue;
        }
        if (i + 1 < tmText.size() && tmText.at(i + 1) == u'\n') ++i;
        lines << line;
        line.clear();
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

void Form1::d()
{
    DelList = false;
    PutList = false;
    CdList = false;
    RenList = false;
    ListWait = false;
    executeCommand(TransferCommand::listing());
}

void Form1::Refr_Click()
{
    if (!Connected) {
        showMessage(this, text(176));
        return;
    }
    ListWait = true;
    executeCommand(TransferCommand::listing());
}

QString Form1::readWholeAnswer()
{
    // The control hands a long listing out in pieces; decode only the whole,
    // so that a character split between two pieces stays whole.
    QByteArray answer;
    for (QByteArray piece = Inet1->getChunk(1024); !piece.isEmpty(); piece = Inet1->getChunk(1024))
        answer += piece;
    return QString::fromUtf8(answer);
}

QString Form1::passThroughTmFile(const QString &content)
{
    // When "tm" cannot be written or read back, the listing in hand is shown all the same.
    const QString name = QStringLiteral("tm");
    const QString path = dataFilePath(name);
    const QString reason = writeFileWhole(path, content.toUtf8(), true);
    if (!reason.isEmpty()) {
        showMessage(this, fileNotSavedMessage(name, path, reason));
        return content;
    }
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return content;
    return QString::fromUtf8(in.readAll());
}

void Form1::InAndOutTMFile()
{
    const QString tmText = passThroughTmFile(tmFileContent(RFileName));
    ListView2->clear();
    QHash<int, QIcon> icons;  // a long listing looks each picture up once
    for (const QString &line : listingLines(tmText)) {
        RFileName = line;
        const int image = ADDTM();
        if (!icons.contains(image)) icons.insert(image, ImageList1->icon(image));
        auto *item = new QListWidgetItem(icons.value(image), RFileName, ListView2);
        item->setData(kImageNumberRole, image);
    }
}

int Form1::ADDTM() const
{
    return remoteImageFor(RFileName);
}

} // namespace corvexo
