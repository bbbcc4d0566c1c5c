// Remote commands on a scripted control: which edit commands are on, reached
// by real clicks, the commands sent and the refusals told, with their texts;
// then on the real FTP engine against pyftpdlib: files moved byte for byte by
// menu, Enter and drop, the folder read again.
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "local/folder_box.h"
#include "local/local_messages.h"
#include "remote_ops/edit_availability_table.h"
#include "remote_ops/name_dialog.h"
#include "support/ftp_run.h"
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
QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes) b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
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
            {"a.txt", "011110110"}, {"pub/", "001110100"}, {"../", "001100000"}, {"./", "001100000"}};
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
        QTest::addColumn<QString>("outcome");  // the command, or the message
        QTest::newRow("file") << "my file.txt" << false << "delete my file.txt";
        QTest::newRow("folder") << "pub/" << false << "rmdir pub/";
        QTest::newRow("parent") << "../" << false << "Your selecting item cannot be deleting.";
        QTest::newRow("empty list") << QString() << false << "You have tried deleting item is not being selected.";
        QTest::newRow("busy") << "my file.txt" << true << "The last demand is being executed.";
    }
    void deleteByKindOrTellWhyNot()
    {
        QFETCH(QString, entry);
        QFETCH(bool, busy);
        QFETCH(QString, outcome);
        WindowFixture f;
        f.connectWithListing("../\r\npub/\r\nmy file.txt");
        if (entry.isNull()) f.window->ListView2->clear();
        else f.select(f.window->ListView2, entry);
        f.inet->executing = busy;
        QTest::keyClick(f.window->ListView2, Qt::Key_Delete);
        const bool sent = outcome.startsWith("delete") || outcome.startsWith("rmdir");
        QCOMPARE(f.inet->commands.mid(1), sent ? QStringList{outcome} : QStringList());
        QCOMPARE(f.texts(), sent ? QStringList() : QStringList{outcome});
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
        QCOMPARE(f.texts(), (QStringList{"Cannot download the file to root directory.\r\nPlease check the path.",
            "Cannot download the file to including space directory.\r\n\r\nPlease change the path then try it again.",
            "The connection is not being connected.", "The connection is not being connected."}));
        f.boxes.clear();
        f.window->Connected = true;
        for (const QString &name : {QStringLiteral("../"), QStringLiteral("pub/")}) {
            f.select(f.window->ListView2, name);
            f.window->CopyFromFTP();
        }
        QCOMPARE(f.texts(), (QStringList{unsafeRemoteNameText("../"), unsafeRemoteNameText("pub/")}));
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
};

QTEST_MAIN(RemoteOpsTest)
#include "tst_remote_ops.moc"
