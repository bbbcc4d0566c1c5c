// The program's own files on a full disk, on one that fills during a
// download, and past a file-size limit: every write ends with the older file
// intact and a message naming the file and the system's reason. Two running
// copies sharing one "SLItems" keep each other's changes. Hostile input stays small.

#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/window_fixture.h"
#include "app/data_files.h"
#include "app/file_list_widget.h"
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_download_size.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "connection/state_texts.h"
#include "files/file_messages.h"
#include "files/file_writing.h"
#include "settings/settings_messages.h"
#include "support/ftp_run.h"

#include <QLockFile>
#include <QPushButton>
#include <QtTest>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/statvfs.h>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kA = "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n";
const QByteArray kB = "\"ftp.b.org\",\"pb\",\"ub\",\"21\",\"B\"\r\n";
const QByteArray kC = "\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n";
const QByteArray kD = "\"ftp.d.org\",\"pd\",\"ud\",\"21\",\"D\"\r\n";
const QString kFull = QStringLiteral("No space left on device");
} // namespace

class NothingLostTest : public QObject {
    Q_OBJECT
    QTemporaryDir disk_;
    QByteArray mountError_;

    // Fills the small disk until at most `left` bytes stay free.
    void fill(qint64 left)
    {
        QFile filler(disk_.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::Append | QIODevice::Unbuffered));
        struct statvfs fs {};
        while (::statvfs(QFile::encodeName(disk_.path()).constData(), &fs) == 0
               && qint64(fs.f_bavail * fs.f_frsize) > left && filler.write(QByteArray(4096, 'f')) == 4096) {
        }
    }

private slots:
    void initTestCase()
    {
        if (::mount("tmpfs", QFile::encodeName(disk_.path()).constData(), "tmpfs", 0, "size=2m") != 0)
            mountError_ = std::strerror(errno);
        qputenv("XDG_DATA_HOME", QFile::encodeName(disk_.path()));
    }
    void cleanupTestCase() { ::umount2(QFile::encodeName(disk_.path()).constData(), MNT_DETACH); }
    void init()
    {
        if (!mountError_.isEmpty()) QSKIP("a small disk cannot be mounted here: " + mountError_);
        QFile::remove(disk_.filePath(QStringLiteral("filler")));
    }

    void settingsListingAndExitOnAFullDisk()
    {
        const std::pair<QString, QByteArray> older[] = {{"SLItems", kA + kB}, {"Sfile", kB}, {"childpf", "/tmp\r\n"}, {"tm", "old\r\n"}};
        for (const auto &[name, content] : older) QVERIFY(writeFileWhole(dataFilePath(name), content).isEmpty());
        fill(0);
        WindowFixture f(WindowFixture::Start::Later);
        qputenv("XDG_DATA_HOME", QFile::encodeName(disk_.path()));
        {
            Form1 &form1 = f.start();
            form1.Sett_Click();
            Form2 *w = existingSettingsWindow();
            typeSetting(w, "ftp.d.org", "pd", "ud", "21", "D");
            w->Command4->click();   // Add
            typeSetting(w, "ftp.a.org", "pa", "ua", "21", "A");
            w->Command6->click();   // Set-default
            f.inet->completeWithAnswer("a.txt\r\nsub/");   // the start-up listing
            QCOMPARE(form1.ListView2->count(), 2);        // shown all the same
            form1.ExitApp_Click();
            f.window.reset();
        }
        QStringList expected;
        for (const auto &[name, content] : older) {
            QCOMPARE(contentOf(dataFilePath(name)), content);
            expected << fileNotSavedMessage(name, dataFilePath(name), kFull);
        }
        QCOMPARE(f.texts(), (QStringList{expected[0], expected[1], expected[3], expected[2]}));
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
        pointAt(control, server);
        const FtpRun run = runOn(control, TransferCommand::get(QStringLiteral("big.bin"), target));
        QCOMPARE(run.states.last(), int(TransferState::Error));
        QCOMPARE(run.info, ftp::localWriteFailedText(target, kFull));
        QCOMPARE(contentOf(target), QByteArray("older"));
        QCOMPARE(QDir(disk_.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{"big.bin", "filler"}));
        QCOMPARE(runOn(control, TransferCommand::listing()).states, completed());   // the session stayed
    }

    void fileSizeLimitIsReportedNotFatal()
    {
        ignoreFileSizeSignal();
        const QString path = disk_.filePath(QStringLiteral("limited"));
        QVERIFY(writeFileWhole(path, "older").isEmpty());
        rlimit previous {};
        ::getrlimit(RLIMIT_FSIZE, &previous);
        const rlimit small {1000, previous.rlim_max};
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
        dir.write("Sfile", QByteArray(200000, ','));   // refused before it is held whole
        CurrentSetting = {"", "h", "p", "u", "21", "n"};
        LoadDefault();
        QCOMPARE(f.texts(), QStringList{cannotReadMessage("Sfile", dir.filePath("Sfile"),
                                                              "a line is longer than any setting can be: over 16384 bytes")});
        QCOMPARE(CurrentSetting[1], QStringLiteral("h"));

        QStringList lines;   // a server text of 2,000 lines: the box shows its first lines
        for (int i = 1; i <= 2000; ++i) lines << QStringLiteral("line %1").arg(i);
        const QStringList shown = connectionErrorMessage(550, lines.join("\r\n")).split("\r\n");
        QCOMPARE(shown.size(), 17);
        QCOMPARE(shown.mid(15), (QStringList{"line 15", "..."}));

        Form1 &form1 = f.start();   // Disconnect while a command runs: no "Executing..." left
        f.inet->completeWithAnswer("x");
        QCOMPARE(QFileInfo(dir.filePath("tm")).permissions() & 0x0077, QFileDevice::Permissions());   // "tm" owner-only
        f.inet->report({5, 6, 7});
        f.inet->executing = true;
        form1.Discon_Click();
        QCOMPARE(form1.windowTitle(), text(163));
    }

    // The other copy is played by writing the file as it would.
    void twoCopiesKeepEachOthersChanges()
    {
        WindowFixture f(WindowFixture::Start::Later);
        TestDataDir &dir = f.data;
        dir.write("SLItems", kA + kB + kC);
        {
            Form1 &form1 = f.start();
            form1.Sett_Click();
            Form2 *w = existingSettingsWindow();
            dir.write("SLItems", kA + kB + kC + kD);   // the other copy adds D; this one removes B
            w->List1->setCurrentRow(1);
            f.answers = {true};
            w->Command3->click();
            QCOMPARE(dir.read("SLItems"), kA + kC + kD);

            QLockFile other(dir.filePath("SLItems") + ".lock");   // while the other copy rewrites it
            QVERIFY(other.lock());
            w->List1->setCurrentRow(0);
            f.answers = {true};
            w->Command3->click();
            QCOMPARE(f.texts().last(), fileNotSavedMessage("SLItems", dir.filePath("SLItems"), fileInUseReason()));
            f.window.reset();
        }
        QCOMPARE(dir.read("SLItems"), kA + kC + kD);
    }
};

QTEST_MAIN(NothingLostTest)
#include "tst_nothing_lost.moc"
