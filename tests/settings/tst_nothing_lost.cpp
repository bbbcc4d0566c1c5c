// The program's own files on a full disk, on one that fills during a
// download, and past a file-size limit: every write ends with the older file
// intact and a message naming the file and the system's reason. And two
// running copies that share one "SLItems" keep each other's changes.

#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/window_fixture.h"
#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "connection/ftp/ftp_download_size.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "files/file_messages.h"
#include "files/file_writing.h"
#include "settings/settings_files.h"
#include "settings/settings_messages.h"
#include "connection/state_texts.h"
#include "app/strings/string_table.h"
#include "support/ftp_test_server.h"
#include "support/ftp_run.h"

#include <QDir>
#include <QLockFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kThree = "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n"
                          "\"ftp.b.org\",\"pb\",\"ub\",\"21\",\"B\"\r\n"
                          "\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n";
const QByteArray kDefaultB = "\"ftp.b.org\",\"pb\",\"ub\",\"21\",\"B\"\r\n";
const QString kFull = QStringLiteral("No space left on device");

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class NothingLostTest : public QObject {
    Q_OBJECT
    QTemporaryDir disk_;
    bool mounted_ = false;
    QString refusal_;

    QString data(const QString &name) const { return dataFilePath(name); }

    // Fills the small disk until at most `left` bytes stay free.
    void fill(qint64 left)
    {
        QFile filler(disk_.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::Append | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        struct statvfs fs {};
        while (::statvfs(QFile::encodeName(disk_.path()).constData(), &fs) == 0
               && qint64(fs.f_bavail) * qint64(fs.f_frsize) > left && filler.write(block) == block.size()) {
        }
    }

private slots:
    void initTestCase()
    {
        const QByteArray where = QFile::encodeName(disk_.path());
        mounted_ = ::mount("tmpfs", where.constData(), "tmpfs", 0, "size=2m") == 0;
        if (!mounted_) refusal_ = QString::fromLocal8Bit(std::strerror(errno));
        qputenv("XDG_DATA_HOME", where);
    }
    void cleanupTestCase()
    {
        if (mounted_) ::umount2(QFile::encodeName(disk_.path()).constData(), MNT_DETACH);
    }
    void init()
    {
        if (!mounted_) QSKIP(qPrintable(QStringLiteral("a small disk cannot be mounted here: ") + refusal_));
        QFile::remove(disk_.filePath(QStringLiteral("filler")));
    }

    void settingsListingAndExitOnAFullDisk()
    {
        for (const auto &[name, content] : {std::pair{"SLItems", kThree}, {"Sfile", kDefaultB},
                                            {"childpf", QByteArray("/tmp\r\n")}, {"tm", QByteArray("old\r\n")}})
            QVERIFY(writeFileWhole(data(name), content).isEmpty());
        fill(0);
        WindowFixture f(WindowFixture::Start::Later);
        qputenv("XDG_DATA_HOME", QFile::encodeName(disk_.path()));
        auto *inet = new ScriptedTransferControl;
        {
            Form1 &form1 = f.start(inet);
            form1.Sett_Click();
            Form2 *w = existingSettingsWindow();
            typeSetting(w, "ftp.d.org", "pd", "ud", "21", "D");
            w->Command4->click();   // Add
            QCOMPARE(f.texts(), QStringList{fileNotSavedMessage("SLItems", data("SLItems"), kFull)});
            typeSetting(w, "ftp.a.org", "pa", "ua", "21", "A");
            f.boxes.clear();
            w->Command6->click();   // Set-default
            QCOMPARE(f.texts(), QStringList{fileNotSavedMessage("Sfile", data("Sfile"), kFull)});

            f.boxes.clear();
            inet->completeWithAnswer("a.txt\r\nsub/");   // the start-up listing
            QCOMPARE(f.texts(), QStringList{fileNotSavedMessage("tm", data("tm"), kFull)});
            QCOMPARE(form1.ListView2->count(), 2);        // shown from memory all the same

            f.boxes.clear();
            form1.ExitApp_Click();
            QCOMPARE(f.texts(), QStringList{fileNotSavedMessage("childpf", data("childpf"), kFull)});
            f.window.reset();
        }
        QCOMPARE(contentOf(data("SLItems")), kThree);
        QCOMPARE(contentOf(data("Sfile")), kDefaultB);
        QCOMPARE(contentOf(data("childpf")), QByteArray("/tmp\r\n"));
        QCOMPARE(contentOf(data("tm")), QByteArray("old\r\n"));
    }

    void downloadOntoANearlyFullDisk()
    {
        FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        QVERIFY(server.writeFile(QStringLiteral("big.bin"), QByteArray(1500000, 'b')));
        const QString target = disk_.filePath(QStringLiteral("big.bin"));
        QVERIFY(writeFileWhole(target, "older").isEmpty());
        fill(300000);
        FtpTransferControl control;
        control.setRemotePort(server.port());
        control.setRemoteHost(QStringLiteral("127.0.0.1"));
        control.setUserName(server.user());
        control.setPassword(server.password());
        const FtpRun run = runOn(control, TransferCommand::get(QStringLiteral("big.bin"), target));
        QCOMPARE(run.states.last(), int(TransferState::Error));
        QCOMPARE(run.info, ftp::localWriteFailedText(target, kFull));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(QDir(disk_.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{QStringLiteral("big.bin"), QStringLiteral("filler")}));
        // The session stayed: the next command runs on it.
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());
    }

    void fileSizeLimitIsReportedNotFatal()
    {
        ignoreFileSizeSignal();
        const QString path = disk_.filePath(QStringLiteral("limited"));
        QVERIFY(writeFileWhole(path, "older").isEmpty());
        rlimit previous {};
        ::getrlimit(RLIMIT_FSIZE, &previous);
        rlimit small = previous;
        small.rlim_cur = 1000;
        ::setrlimit(RLIMIT_FSIZE, &small);
        const QString reason = writeFileWhole(path, QByteArray(5000, 'x'));
        ::setrlimit(RLIMIT_FSIZE, &previous);
        QCOMPARE(reason, QStringLiteral("File too large"));
        QCOMPARE(contentOf(path), QByteArray("older"));
    }

    void hostileInputStaysSmall()
    {
        WindowFixture f(WindowFixture::Start::Later);
        TestDataDir &dir = f.data;
        // A line of commas longer than any setting is refused before it is held whole.
        dir.write("Sfile", QByteArray(200000, ','));
        CurrentSetting = {"", "h", "p", "u", "21", "n"};
        LoadDefault();
        QCOMPARE(f.texts(), QStringList{cannotReadMessage("Sfile", dir.filePath("Sfile"),
                                                              QStringLiteral("a line is longer than any setting can be: over 16384 bytes"))});
        QCOMPARE(CurrentSetting[1], QStringLiteral("h"));

        // A server text of 2,000 lines: the box shows its first lines.
        QStringList lines;
        for (int i = 1; i <= 2000; ++i) lines << QStringLiteral("line %1").arg(i);
        const QStringList shown = connectionErrorMessage(550, lines.join("\r\n")).split("\r\n");
        QCOMPARE(shown.size(), 17);
        QCOMPARE(shown.at(1), QStringLiteral("550 line 1"));
        QCOMPARE(shown.last(), QStringLiteral("..."));

        // Disconnect while a command runs: its progress caption does not stay.
        auto *inet = new ScriptedTransferControl;
        Form1 &form1 = f.start(inet);
        inet->report({5, 6, 7});
        inet->executing = true;
        form1.Discon_Click();
        QCOMPARE(form1.windowTitle(), text(163));
    }

    // The other copy is played by writing the file as it would.
    void twoCopiesKeepEachOthersChanges()
    {
        WindowFixture f(WindowFixture::Start::Later);
        TestDataDir &dir = f.data;
        dir.write("SLItems", kThree);
        {
            auto *inet = new ScriptedTransferControl;
            Form1 &form1 = f.start(inet);
            inet->completeWithAnswer("x");
            QCOMPARE(QFileInfo(dir.filePath("tm")).permissions() & 0x0077, QFileDevice::Permissions());   // owner-only
            form1.Sett_Click();
            Form2 *w = existingSettingsWindow();
            // The other copy adds D; this one removes B.
            dir.write("SLItems", kThree + "\"ftp.d.org\",\"pd\",\"ud\",\"21\",\"D\"\r\n");
            w->List1->setCurrentRow(1);
            f.answers = {true};
            w->Command3->click();
            QCOMPARE(WindowFixture::entries(w->List1), (QStringList{"A", "C", "D"}));
            // The other copy removes C; this one adds E.
            dir.write("SLItems", "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n\"ftp.d.org\",\"pd\",\"ud\",\"21\",\"D\"\r\n");
            typeSetting(w, "ftp.e.org", "pe", "ue", "21", "E");
            w->Command4->click();
            QCOMPARE(WindowFixture::entries(w->List1), (QStringList{"A", "D", "E"}));

            // While the other copy holds the list, nothing is written and the user is told.
            QLockFile other(dir.filePath("SLItems") + ".lock");
            QVERIFY(other.lock());
            f.boxes.clear();
            w->List1->setCurrentRow(0);
            f.answers = {true};
            w->Command3->click();
            QCOMPARE(f.texts().last(), fileNotSavedMessage("SLItems", dir.filePath("SLItems"), fileInUseReason()));
            f.window.reset();
        }
        QCOMPARE(dir.read("SLItems"), QByteArray("\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n\"ftp.d.org\",\"pd\",\"ud\",\"21\",\"D\"\r\n"
                                                 "\"ftp.e.org\",\"pe\",\"ue\",\"21\",\"E\"\r\n"));
    }
};

QTEST_MAIN(NothingLostTest)
#include "tst_nothing_lost.moc"
