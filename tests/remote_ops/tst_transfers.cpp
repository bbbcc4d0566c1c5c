// Downloads and uploads against the scripted control: the checks and their
// messages in order, the marks, the command texts, the local list entry and
// the drop on the local list.
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "app/strings/string_table.h"
#include "local/folder_box.h"
#include "local/local_messages.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corvexo;
using corvexo::testing::ScriptedTransferControl;
using corvexo::testing::TestDataDir;

namespace {

int occurrences(const QListWidget *list, const QString &text)
{
    int n = 0;
    for (int row = 0; row < list->count(); ++row) n += list->item(row)->text() == text;
    return n;
}

void dropOn(FileListWidget *list)
{
    QMimeData mime;
    mime.setText(QStringLiteral("ignored"));
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    QCOMPARE(drop.dropAction(), Qt::CopyAction);
}

} // namespace

class TransfersTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDataDir> data;
    std::unique_ptr<QTemporaryDir> disk;
    std::unique_ptr<Form1> window;
    ScriptedTransferControl *inet = nullptr;
    QList<MessageBoxRequest> messages;
    MessageBoxAnswer answer = MessageBoxAnswer::Yes;

    QString local(const QString &relative) const { return disk->filePath(relative); }

    void showFolder(const QString &relative)
    {
        QVERIFY(QDir().mkpath(local(relative)));
        QVERIFY(window->Dir1->setPath(local(relative)));
    }
    void selectRemote(const QString &entry)
    {
        const QList<QListWidgetItem *> found = window->ListView2->findItems(entry, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        window->ListView2->setCurrentItem(found.first());
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const MessageBoxRequest &m : messages) texts << m.text;
        return texts;
    }

private slots:
    void init()
    {
        data = std::make_unique<TestDataDir>();
        disk = std::make_unique<QTemporaryDir>();
        inet = new ScriptedTransferControl;
        window = std::make_unique<Form1>(inet);
        // Connected, the local folder "ftp" holding a.txt, the remote list ../ readme.txt pub/.
        QVERIFY(QDir().mkpath(local(QStringLiteral("ftp"))));
        QFile file(local(QStringLiteral("ftp/a.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        showFolder(QStringLiteral("ftp"));
        window->Connected = true;
        window->ListView2->addItems({"../", "readme.txt", "pub/"});
        messages.clear();
        answer = MessageBoxAnswer::Yes;
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            messages << request;
            return request.yesNo ? answer : MessageBoxAnswer::Ok;
        });
    }

    void cleanup()
    {
        setMessageBoxAnswerer({});
        window.reset();
        disk.reset();
        data.reset();
    }

    void downloadSendsGetAndListsTheFileOnce()
    {
        selectRemote(QStringLiteral("readme.txt"));
        window->DownL->trigger();
        QCOMPARE(inet->commands,
                 QStringList{QStringLiteral("GET readme.txt ") + local(QStringLiteral("ftp/readme.txt"))});
        QCOMPARE(inet->sent[0].operands,
                 (QStringList{"readme.txt", local(QStringLiteral("ftp/readme.txt"))}));
        QVERIFY(window->GetWait);
        QCOMPARE(occurrences(window->ListView1, QStringLiteral("readme.txt")), 0);  // listed once it arrived
        QFile arrived(local(QStringLiteral("ftp/readme.txt")));
        QVERIFY(arrived.open(QIODevice::WriteOnly));
        arrived.close();
        inet->completeCommand();
        QCOMPARE(occurrences(window->ListView1, QStringLiteral("readme.txt")), 1);
        QCOMPARE(window->ListView1->item(window->ListView1->count() - 1)->text(), QStringLiteral("readme.txt"));
        answer = MessageBoxAnswer::Yes;
        window->DownL_Click();  // the same file again: still listed once
        inet->completeCommand();
        QCOMPARE(inet->commands.size(), 2);
        QCOMPARE(occurrences(window->ListView1, QStringLiteral("readme.txt")), 1);
        messages.removeIf([](const MessageBoxRequest &m) { return m.yesNo; });  // the overwrite question
        QVERIFY(messages.isEmpty());
    }

    void downloadRefusalsInOrder()
    {
        selectRemote(QStringLiteral("readme.txt"));
        QVERIFY(window->Dir1->setPath(QStringLiteral("/")));
        window->Connected = false;
        window->CopyFromFTP();  // the root comes first, even when not connected
        QVERIFY(window->Dir1->setPath(local(QStringLiteral("ftp"))));
        showFolder(QStringLiteral("My Files"));
        window->CopyFromFTP();
        window->Dir1->setPath(local(QStringLiteral("ftp")));
        window->CopyFromFTP();
        QCOMPARE(messageTexts(), (QStringList{
            QStringLiteral("Cannot download the file to root directory.\r\nPlease check the path."),
            QStringLiteral("Cannot download the file to including space directory.\r\n\r\n"
                           "Please change the path then try it again."),
            QStringLiteral("The connection is not being connected."),
        }));
        for (const MessageBoxRequest &m : messages) QCOMPARE(m.title, QStringLiteral("Corvexo"));
        QVERIFY(inet->commands.isEmpty());
        QVERIFY(!window->GetWait);
    }

    void downloadRefusesNamesThatLeaveTheFolder()
    {
        window->ListView2->addItems({"..", ".", "a/b"});
        for (const QString &name : {QStringLiteral(".."), QStringLiteral("."), QStringLiteral("a/b"),
                                    QStringLiteral("pub/"), QStringLiteral("../")}) {
            messages.clear();
            selectRemote(name);
            window->CopyFromFTP();
            QCOMPARE(messageTexts(), QStringList{unsafeRemoteNameText(name)});
        }
        QCOMPARE(unsafeRemoteNameText(QStringLiteral("..")),
                 QStringLiteral("Cannot download \"..\": it is not a plain file name of this folder."));
        QVERIFY(inet->commands.isEmpty());
        QVERIFY(!window->GetWait);
        QCOMPARE(occurrences(window->ListView1, QStringLiteral("..")), 0);
    }

    void downloadWithoutRemoteEntry()
    {
        window->ListView2->clear();
        window->CopyFromFTP();
        QCOMPARE(messageTexts(),
                 QStringList{QStringLiteral("No remote file is selected. Please select the file to download.")});
        QVERIFY(inet->commands.isEmpty());
    }

    void refusedCommandLeavesTheMarksAsTheyWere()
    {
        selectRemote(QStringLiteral("readme.txt"));
        inet->refuseWith = TransferError::StillExecuting;
        window->CopyFromFTP();
        QVERIFY(!window->GetWait);
        QCOMPARE(occurrences(window->ListView1, QStringLiteral("readme.txt")), 0);
        window->GetWait = true;  // an earlier download still runs
        window->CopyFromFTP();
        QVERIFY(window->GetWait);
        window->ListView1->setCurrentRow(0);
        window->CopyToFTP();
        QVERIFY(!window->PutWait && !window->PutList);
    }

    void uploadSendsPutAndSetsBothMarks()
    {
        window->ListView1->setCurrentRow(0);
        window->UpL->trigger();
        QCOMPARE(inet->commands, QStringList{QStringLiteral("put ") + local(QStringLiteral("ftp/a.txt")) + " a.txt"});
        QCOMPARE(inet->sent[0].operands, (QStringList{local(QStringLiteral("ftp/a.txt")), "a.txt"}));
        QVERIFY(window->PutWait);
        QVERIFY(window->PutList);
        QVERIFY(messages.isEmpty());
    }

    void uploadRefusalsInOrder()
    {
        window->Connected = false;
        QVERIFY(window->Dir1->setPath(QStringLiteral("/")));
        window->CopyToFTP();
        showFolder(QStringLiteral("My Files"));
        window->CopyToFTP();
        window->Dir1->setPath(local(QStringLiteral("ftp")));
        window->ListView1->setCurrentRow(0);
        window->CopyToFTP();
        window->Connected = true;
        window->ListView1->clear();
        window->CopyToFTP();
        QCOMPARE(messageTexts(), (QStringList{
            QStringLiteral("Cannot upload the file from root directory.\r\nPlease check the path."),
            QStringLiteral("Cannot upload the file from including space directory.\r\n\r\n"
                           "Please change the path then try it again."),
            QStringLiteral("The connection is not being connected."),
            QStringLiteral("No local file is selected. Please select the file to upload."),
        }));
        QVERIFY(inet->commands.isEmpty());
        QVERIFY(!window->PutWait && !window->PutList);
    }

    void dropOnTheLocalListAsksThenDownloads()
    {
        selectRemote(QStringLiteral("readme.txt"));
        answer = MessageBoxAnswer::No;
        dropOn(window->ListView1);
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("Do you want to download a file?"));
        QCOMPARE(messages[0].title, QStringLiteral("The file is dropped."));
        QVERIFY(messages[0].yesNo);
        QVERIFY(inet->commands.isEmpty());
        QVERIFY(!window->GetWait);

        answer = MessageBoxAnswer::Yes;
        dropOn(window->ListView1);
        QTRY_COMPARE(inet->commands.size(), 1);
        QVERIFY(inet->lastCommand().startsWith(QStringLiteral("GET readme.txt ")));
        QCOMPARE(messages.size(), 2);
    }

    void dropWithoutRemoteEntryAsksNothing()
    {
        window->ListView2->clear();
        dropOn(window->ListView1);
        QTRY_COMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, noRemoteEntryText());
        QVERIFY(!messages[0].yesNo);
        QVERIFY(inet->commands.isEmpty());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TransfersTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_transfers.moc"
