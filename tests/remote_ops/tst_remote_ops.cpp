// Remote commands on a scripted control: which edit commands are on, reached
// by real clicks, the commands sent and the refusals told, with their texts;
// then on the real FTP engine against pyftpdlib: files moved byte for byte by
// menu, Enter and drop, the folder read again.
#include "app/elided_label.h"
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "local/local_messages.h"
#include "remote_ops/edit_availability_table.h"
#include "remote_ops/name_dialog.h"
#include "support/ftp_run.h"
#include "support/local_files.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
QString pattern(const std::optional<EditAvailability> &a)
{
    if (!a) return QStringLiteral("same");
    QString out;
    for (bool on : {a->upload, a->download, a->parentDir, a->refresh, a->rename, a->makeDir, a->remove,
                    a->downloadButton, a->uploadButton})
        out += on ? u'1' : u'0';
    return out;
}
} // namespace

class RemoteOpsTest : public QObject {
    Q_OBJECT
private slots:
    void availabilityEdgeRows()
    {
        QCOMPARE(pattern(localListAvailability(true, 3, false, true)), QStringLiteral("000000000"));  // in the mouse handler
        QCOMPARE(pattern(localListAvailability(true, 0, false, false)), QStringLiteral("same"));
        QCOMPARE(pattern(remoteListAvailability(true, false, true, "a.txt")), QStringLiteral("same"));
    }

    void availabilityReachedByClicks()
    {
        WindowFixture f;
        FileListWidget *local = f.window->ListView1, *remote = f.window->ListView2;
        local->clear();
        local->setEntries({{"local.txt"}, {"notes.txt"}});
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        f.click(local, "local.txt");
        QCOMPARE(f.availability(), QStringLiteral("000000000"));
        f.connectWithListing("../\r\n./\r\npub/\r\na.txt");
        const std::pair<const char *, const char *> rows[] = {
            {"a.txt", "011110110"}, {"pub/", "011110110"}, {"../", "001100000"}, {"./", "001100000"}};
        for (const auto &[entry, expected] : rows) {
            f.click(remote, entry);
            QCOMPARE(f.availability(), QString::fromLatin1(expected));
            f.click(remote, entry, Qt::RightButton);  // the pop-up fits the same entry
            QTRY_VERIFY(f.window->edit->isVisible());
            QCOMPARE(f.availability(), QString::fromLatin1(expected));
            f.window->edit->hide();
        }
        f.click(local, "notes.txt");
        QCOMPARE(f.availability(), QStringLiteral("100000001"));
        QVERIFY(!remote->currentEntrySelected());
        f.click(remote, "a.txt");
        local->clearSelection();
        local->setFocus(Qt::TabFocusReason);
        QCOMPARE(f.availability(), QStringLiteral("001101000"));
        f.window->Discon->trigger();
        QCOMPARE(f.availability(), QStringLiteral("000000000"));
    }

    void deleteByKindOrTellWhyNot_data()
    {
        QTest::addColumn<QString>("entry");  // null: the list is empty
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("yes");         // the answer to the question
        QTest::addColumn<QString>("outcome");  // the command, or the message
        QTest::addColumn<QString>("question"); // asked first, with No as the default
        const QString file = "Do you want to delete the file \"my file.txt\" from the server?";
        QTest::newRow("file") << "my file.txt" << false << true << "delete my file.txt" << file;
        QTest::newRow("file, No keeps it") << "my file.txt" << false << false << "" << file;
        QTest::newRow("parent") << "../" << false << true << "Your selecting item cannot be deleting." << "";
        QTest::newRow("empty list") << QString() << false << true << "You have tried deleting item is not being selected." << "";
        QTest::newRow("busy") << "my file.txt" << true << true << "The last demand is being executed." << "";
    }
    void deleteByKindOrTellWhyNot()
    {
        QFETCH(QString, entry);
        QFETCH(bool, busy);
        QFETCH(bool, yes);
        QFETCH(QString, outcome);
        QFETCH(QString, question);
        WindowFixture f;
        f.connectWithListing("../\r\npub/\r\nmy file.txt");
        if (entry.isNull()) f.window->ListView2->clear();
        else f.select(f.window->ListView2, entry);
        f.inet->executing = busy;
        f.answers = {yes};
        QTest::keyClick(f.window->ListView2, Qt::Key_Delete);
        const bool sent = outcome.startsWith("delete");
        QCOMPARE(f.inet->commands.mid(1), sent ? QStringList{outcome} : QStringList());
        QStringList told = question.isEmpty() ? QStringList() : QStringList{question};
        if (!sent && !outcome.isEmpty()) told << outcome;
        QCOMPARE(f.texts(), told);
        QVERIFY(question.isEmpty() || (f.boxes[0].yesNo && f.boxes[0].noByDefault));
        QCOMPARE(f.window->DelWait, sent);
    }

    void renameAndNewFolderThroughTheDialog()
    {
        WindowFixture f;
        f.connectWithListing("pub/\r\na.txt");
        f.select(f.window->ListView2, "a.txt");
        f.window->FrDRname->trigger();
        Form3 *dialog = f.window->form3;
        QVERIFY(dialog && dialog->isVisible());
        QTest::mouseClick(dialog->Command1, Qt::LeftButton);  // an empty name sends nothing
        QVERIFY(dialog->isVisible());
        f.select(f.window->ListView2, "pub/");  // the entry current at OK is renamed
        QTest::keyClicks(dialog->Text1, "my files");
        QTest::keyClick(dialog->Text1, Qt::Key_Return);
        QCOMPARE(f.inet->sent.last().operands, (QStringList{"pub/", "my files"}));
        QVERIFY(f.window->RenWait && f.window->RenList && !dialog->isVisible());
        f.inet->completeCommand();
        f.inet->completeWithAnswer("a.txt\r\nmy files/");
        f.window->FMkD->trigger();
        QCOMPARE(dialog->Text1->text(), QString());
        QTest::keyClicks(dialog->Text1, "new");
        QTest::keyClick(dialog->Text1, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        f.window->FMkD->trigger();
        QTest::keyClicks(dialog->Text1, "new");
        QTest::keyClick(dialog->Text1, Qt::Key_Return);
        QCOMPARE(f.inet->commands.mid(1), (QStringList{"RENAME pub/ my files", "Dir ", "mkdir new"}));
        QVERIFY(f.window->MkdWait && f.window->CdList);
        QVERIFY(f.boxes.isEmpty());
    }

    void transferRefusalsInOrder()
    {
        WindowFixture f;
        QTemporaryDir disk;
        QVERIFY(QDir().mkpath(disk.filePath("My Files")) && QFile(disk.filePath("a.txt")).open(QIODevice::WriteOnly));
        f.connectWithListing("../\r\nreadme.txt\r\npub/");
        f.window->Connected = false;
        f.select(f.window->ListView2, "readme.txt");
        for (const QString &folder : {QStringLiteral("/"), disk.filePath("My Files"), disk.path()}) {
            QVERIFY(f.window->Dir1->setPath(folder));
            f.window->CopyFromFTP();
        }
        f.window->ListView1->setCurrentRow(0);
        f.window->CopyToFTP();
        // A folder with blanks is no reason to refuse: the next check speaks.
        QCOMPARE(f.texts(), (QStringList{"Cannot download the file to root directory.\r\nPlease check the path.",
            "The connection is not being connected.", "The connection is not being connected.",
            "The connection is not being connected."}));
        f.boxes.clear();
        f.window->Connected = true;
        // A folder goes to the queue (tst_queue_main_window); the parent entry is no name to fetch.
        f.select(f.window->ListView2, "../");
        f.window->CopyFromFTP();
        QCOMPARE(f.texts(), (QStringList{unsafeRemoteNameText("../")}));
        QCOMPARE(f.inet->commands, QStringList{"dir "});
        QVERIFY(!f.window->GetWait && !f.window->PutWait);
    }

    void filesMoveByteForByte()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QVERIFY(server.writeFile("readme.txt", randomBytes(300 * 1024)));
        QVERIFY(server.writeFile("small.gif", QByteArray("GIF89a\r\n\0\x01", 10)));
        QTemporaryDir disk;
        for (const auto &[name, bytes] : {std::pair{"a.txt", randomBytes(200 * 1024 + 7)}, {"b.bin", QByteArray("\r\n\0\xff", 4)}}) {
            QFile file(disk.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        }
        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        FileListWidget *remote = f.window->ListView2, *local = f.window->ListView1;
        f.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
        QVERIFY(f.window->Dir1->setPath(disk.path()));
        f.useServer(server);
        f.window->con_Click();
        QVERIFY(f.settle());

        f.click(remote, "readme.txt");
        f.window->DownL->trigger();
        QVERIFY(f.settle());
        QCOMPARE(contentOf(disk.filePath("readme.txt")), server.readFile("readme.txt"));
        f.answers = {true, true};
        f.click(remote, "small.gif");
        WindowFixture::dropOn(local);
        QTRY_COMPARE(f.boxes.size(), 1);
        QVERIFY(f.settle());
        QCOMPARE(contentOf(disk.filePath("small.gif")), server.readFile("small.gif"));

        f.click(local, "a.txt");
        QTest::keyClick(local, Qt::Key_Return);
        QVERIFY(f.settle());
        QCOMPARE(server.readFile("a.txt"), contentOf(disk.filePath("a.txt")));
        QVERIFY(f.remoteEntries().contains("a.txt"));  // the folder was listed again
        f.click(local, "b.bin");
        WindowFixture::dropOn(remote);
        QTRY_COMPARE(f.boxes.size(), 2);
        QVERIFY(f.settle());
        QCOMPARE(server.readFile("b.bin"), QByteArray("\r\n\0\xff", 4));
        QCOMPARE(f.texts(), (QStringList{text(213), text(174)}));
        QVERIFY(f.window->Connected);
    }

    void refusedCommandKeepsTheSessionAndItsFolder()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QVERIFY(server.writeFile("pub/inner.txt", "inside") && server.writeFile("gone.txt", "x"));
        WindowFixture f(WindowFixture::Start::Later);
        f.start(new FtpTransferControl);
        f.window->show();
        f.useServer(server);
        f.window->con_Click();
        QVERIFY(f.settle());
        f.click(f.window->ListView2, "pub/");
        QTest::keyClick(f.window->ListView2, Qt::Key_Return);
        QVERIFY(f.settle());
        QCOMPARE(f.window->remotePath->text(), QStringLiteral("/pub"));
        QVERIFY(QFile::remove(server.pathOf("pub/inner.txt")));   // gone behind the window's back
        f.answers = {true};
        f.click(f.window->ListView2, "inner.txt");
        QTest::keyClick(f.window->ListView2, Qt::Key_Delete);
        QTRY_COMPARE(f.boxes.size(), 2);
        QVERIFY2(f.boxes[1].text.startsWith(text(165) + "\r\n550 "), qPrintable(f.boxes[1].text));
        QTRY_VERIFY(f.window->ListView2->isEnabled());
        QVERIFY(f.window->Connected && f.window->Discon->isEnabled());
        QCOMPARE(f.window->remotePath->text(), QStringLiteral("/pub"));
        f.window->Refr_Click();   // the same session, in the same folder
        QVERIFY(f.settle());
        QCOMPARE(f.remoteEntries(), QStringList{"../"});
        QCOMPARE(f.window->statusText(), QStringLiteral("User name: user, Password successful"));
    }
};

QTEST_MAIN(RemoteOpsTest)
#include "tst_remote_ops.moc"
