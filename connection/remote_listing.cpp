#include "remote_listing.h"

#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "app/image_list.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "connection/listing_messages.h"
#include "files/file_messages.h"
#include "files/file_writing.h"
#include "local/file_icons.h"

#include <QFile>
#include <QSaveFile>

#include <functional>
#include <limits>

namespace corvexo {

namespace {

// The listing's way through "tm": written whole, read back a piece at a time
// and turned into rows as it is read; a long listing does this between events.
// When "tm" cannot be used, the rows come from the answer itself.
class TmFileListing : public FileListSource {
public:
    using FailureReport = std::function<void(const QString &reason)>;
    TmFileListing(QString path, QByteArray answer, QList<RemoteEntry> entries, FailureReport writeFailed)
        : path_(std::move(path)), answer_(std::move(answer)), entries_(entries), rows_(std::move(entries)),
          writeFailed_(std::move(writeFailed))
    {
        reserveRows();
    }

    bool work(const QDeadlineTimer &deadline) override
    {
        if (!out_ && !in_ && !fromAnswer_ && !startWriting()) useAnswer();
        if (out_ && !writeSome(deadline)) return false;
        while (!done_) {
            readSome();
            if (!done_ && deadline.hasExpired()) return false;
        }
        return true;
    }
    QList<FileListEntry> takeRows() override { return rows_.takeRows(); }

private:
    static constexpr qsizetype kPiece = 64 * 1024;
    const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

    bool startWriting()
    {
        out_ = std::make_unique<QSaveFile>(path_);
        if (openForWriting(*out_, true)) return true;
        writeFailed_(out_->errorString());
        out_.reset();
        return false;
    }
    // Writes the answer and its CR LF; true once "tm" is written and open for reading.
    bool writeSome(const QDeadlineTimer &deadline)
    {
        while (written_ < answer_.size()) {
            const qsizetype length = qMin(answer_.size() - written_, kPiece);
            if (!writeAll(*out_, answer_.constData() + written_, length)) return failWriting();
            written_ += length;
            if (deadline.hasExpired()) return false;
        }
        if (!writeAll(*out_, kLineEnd.constData(), kLineEnd.size()) || !commitChecked(*out_)) return failWriting();
        out_.reset();
        in_ = std::make_unique<QFile>(path_);
        if (!in_->open(QIODevice::ReadOnly)) useAnswer();
        return true;
    }
    bool failWriting()
    {
        writeFailed_(out_->errorString());
        out_.reset();   // uncommitted: the older "tm" stays
        useAnswer();
        return true;
    }
    void useAnswer()
    {
        in_.reset();
        fromAnswer_ = true;
        read_ = 0;
        pending_.clear();
        rows_ = RemoteListingRows(entries_);
        reserveRows();
    }
    void reserveRows()
    {
        // One row per parsed entry and "../"; without entries, a guess from the length.
        rows_.reserve(entries_.isEmpty() ? answer_.size() / 16 : entries_.size() + 1);
    }
    // Reads one piece and adds the rows of its whole lines.
    void readSome()
    {
        bool last = false;
        if (fromAnswer_) {
            const QByteArray withEnd = read_ + kPiece >= answer_.size() ? kLineEnd : QByteArray();
            pending_ += QByteArrayView(answer_).sliced(read_, qMin(kPiece, answer_.size() - read_));
            pending_ += withEnd;
            read_ = qMin(read_ + kPiece, answer_.size());
            last = !withEnd.isEmpty();
        } else {
            const QByteArray piece = in_->read(kPiece);
            if (piece.isEmpty() && in_->error() != QFileDevice::NoError) {
                useAnswer();  // "tm" went bad while it was read: start again from the answer
                return;
            }
            pending_ += piece;
            last = in_->atEnd();
        }
        const qsizetype whole = wholeLinesLength(pending_, last);
        rows_.addLines(QString::fromUtf8(pending_.constData(), whole));
        pending_.remove(0, whole);
        done_ = last;
    }

    QString path_;
    QByteArray answer_;
    QList<RemoteEntry> entries_;
    RemoteListingRows rows_;
    FailureReport writeFailed_;
    std::unique_ptr<QSaveFile> out_;
    std::unique_ptr<QFile> in_;
    qsizetype written_ = 0;
    bool fromAnswer_ = false;
    qsizetype read_ = 0;
    QByteArray pending_;  // read, but not yet up to a whole line
    bool done_ = false;
};

} // namespace

QString folderEntryOf(const QString &remotePath)
{
    QString path = remotePath;
    while (path.endsWith(u'/')) path.chop(1);
    const QString last = path.mid(path.lastIndexOf(u'/') + 1);
    return last.isEmpty() ? QString() : last + u'/';
}

QStringList listingLines(const QString &tmText)
{
    QStringList lines;
    qsizetype pos = 0;
    for (QString line; nextListingLine(tmText, pos, line);) lines << line;
    return lines;
}

bool nextListingLine(const QString &tmText, qsizetype &pos, QString &line)
{
    if (pos >= tmText.size()) return false;
    const qsizetype end = tmText.indexOf(u'\r', pos);
    if (end < 0) {
        line = tmText.mid(pos);
        pos = tmText.size();
        return true;
    }
    line = tmText.mid(pos, end - pos);
    pos = end + 1;
    if (pos < tmText.size() && tmText.at(pos) == u'\n') ++pos;
    return true;
}

qsizetype wholeLinesLength(QByteArrayView text, bool lastPiece)
{
    if (lastPiece) return text.size();
    // A CR in the last byte may still be followed by the LF of its CR LF.
    const qsizetype cr = text.size() < 2 ? -1 : text.lastIndexOf('\r', text.size() - 2);
    if (cr < 0) return 0;
    return text.at(cr + 1) == '\n' ? cr + 2 : cr + 1;
}

RemoteListingRows::RemoteListingRows(QList<RemoteEntry> entries) : entries_(std::move(entries)) {}

void RemoteListingRows::addLines(const QString &text)
{
    qsizetype pos = 0;
    for (QString line; nextListingLine(text, pos, line);) {
        if (line.isEmpty()) continue;  // a blank line names no entry
        FileListEntry row{line, remoteImageFor(line)};
        if (const RemoteEntry *entry = entryFor(line)) {
            row.size = entry->size;
            row.modified = entry->modified;
        }
        rows_.append(std::move(row));
    }
}

const RemoteEntry *RemoteListingRows::entryFor(const QString &line)
{
    if (line == u"../" || line == u"./") return nullptr;
    const bool folder = line.endsWith(u'/');
    const QStringView name = folder ? QStringView(line).chopped(1) : QStringView(line);
    // The lines and the entries usually come in the same order: try the next one first.
    if (next_ < entries_.size()) {
        const RemoteEntry &entry = entries_.at(next_);
        if (entry.isFolder == folder && entry.name == name) return &entries_.at(next_++);
    }
    if (byName_.isEmpty()) {
        byName_.reserve(entries_.size());
        for (qsizetype i = 0; i < entries_.size(); ++i) byName_.insert(QStringView(entries_.at(i).name), i);
    }
    const auto found = byName_.constFind(name);
    if (found == byName_.constEnd() || entries_.at(*found).isFolder != folder) return nullptr;
    next_ = *found + 1;
    return &entries_.at(*found);
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

QByteArray Form1::readAnswerBytes()
{
    // One request for everything: the control can hand its buffer over without a copy.
    constexpr int kAll = std::numeric_limits<int>::max();
    QByteArray answer;
    for (QByteArray piece = Inet1->getChunk(kAll); !piece.isEmpty(); piece = Inet1->getChunk(kAll))
        answer += piece;
    return answer;
}

QString Form1::readWholeAnswer()
{
    // The control hands a long answer out in pieces; decode only the whole,
    // so that a character split between two pieces stays whole.
    return QString::fromUtf8(readAnswerBytes());
}

void Form1::InAndOutTMFile()
{
    tmWriteFailure.clear();
    auto listing = std::make_unique<TmFileListing>(dataFilePath(QStringLiteral("tm")), readAnswerBytes(),
                                                   Inet1->listedEntries(),
                                                   [this](const QString &reason) { tmWriteFailure = reason; });
    // A long listing goes on between events; its end completes the command (fillFinished).
    if (ListView2->fill(std::move(listing))) tellListingOutcome(Inet1->unreadableEntries());
}

void Form1::tellListingOutcome(int unreadable)
{
    // The listing is shown from memory all the same.
    const QString name = QStringLiteral("tm");
    if (!tmWriteFailure.isEmpty())
        showMessage(this, fileNotSavedMessage(name, dataFilePath(name), std::exchange(tmWriteFailure, {})));
    if (unreadable > 0) setStatusText(unreadableEntriesText(unreadable));
}

int Form1::ADDTM() const
{
    return remoteImageFor(RFileName);
}

} // namespace corvexo
