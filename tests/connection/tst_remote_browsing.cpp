// The main window on the real FTP engine against a local pyftpdlib server:
// connect, see the folder with its icons, move in and out, refresh, reconnect.
#include "app/strings/string_table.h"
#include "connection/ftp/ftp_transfer_control.h"
#include "support/ftp_test_server.h"
#include "tst_window_fixture.h"

#include <QAction>
#include <QTcpServer>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

// A window on the real engine, its data folder, and the message boxes it showed.
struct RealWindow {
    TestDataDir data;
    std::unique_ptr<Form1> window;
    QList<MessageBoxRequest> boxes;

    explicit RealWindow(const FtpTestServer &server)
    {
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            boxes << request;
            return MessageBoxAnswer::Ok;
        });
        CurrentSetting = {};
        window = std::make_unique<Form1>(new FtpTransferControl);
        CurrentSetting[1] = QStringLiteral("127.0.0.1");
        CurrentSetting[2] = server.password();
        CurrentSetting[3] = server.user();
        CurrentSetting[4] = QString::number(server.port());
        CurrentSetting[5] = QStringLiteral("local");
    }
    ~RealWindow()
    {
        window.reset();
        setMessageBoxAnswerer({});
        CurrentSetting = {};
    }

    bool waitsForAListing() const
    {
        const Form1 &w = *window;
        return w.ListWait || w.CdWait || w.PutWait || w.RenWait || w.DelWait || w.MkdWait || w.GetWait;
    }
    // The listing has been shown, or the attempt ended otherwise.
    bool settle()
    {
        return QTest::qWaitFor([this] {
            return !window->Connected || (!waitsForAListing() && window->windowTitle() == text(166));
        }, 20000);
    }
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < window->ListView2->count(); ++i) texts << window->ListView2->item(i)->text();
        return texts;
    }
    int imageOf(const QString &entry) const
    {
        const auto found = window->ListView2->findItems(entry, Qt::MatchExactly);
        return found.isEmpty() ? -1 : found.first()->data(kImageNumberRole).toInt();
    }
    void pressEnterOn(const QString &entry)
    {
        const auto found = window->ListView2->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(entry));
        window->ListView2->setCurrentItem(found.first());
        QTest::keyClick(window->ListView2, Qt::Key_Return);
    }
};

QStringList sorted(QStringList lines)
{
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace

class RemoteBrowsingTest : public QObject {
    Q_OBJECT
    FtpTestServer server_;

private slots:
    void initTestCase()
    {
        QVERIFY2(server_.start(), qPrintable(server_.errorText()));
        QVERIFY(server_.writeFile("readme.txt", "hello"));
        QVERIFY(server_.writeFile("photo.jpg", "jpg"));
        QVERIFY(server_.writeFile("PHOTO.JPG", "JPG"));
        QVERIFY(server_.writeFile("song.mp3", "mp3"));
        QVERIFY(server_.writeFile("pub/inside.txt", "in"));
        QVERIFY(server_.writeFile("pub/deeper/bottom.html", "<p>"));
        QVERIFY(server_.makeFolder("my dir"));
        for (int i = 0; i < 500; ++i)
            QVERIFY(server_.writeFile(QStringLiteral("many/entry_%1.txt").arg(i, 3, 10, QChar(u'0')), "x"));
    }

    void connectShowsTheRootWithIcons()
    {
        RealWindow r(server_);
        r.window->con_Click();
        QVERIFY(r.settle());
        QVERIFY(r.window->Connected);
        QVERIFY(r.boxes.isEmpty());
        QCOMPARE(sorted(r.entries()),
                 QStringList({"PHOTO.JPG", "many/", "my dir/", "photo.jpg", "pub/", "readme.txt", "song.mp3"}));
        QCOMPARE(r.imageOf("readme.txt"), 13);
        QCOMPARE(r.imageOf("photo.jpg"), 12);
        QCOMPARE(r.imageOf("PHOTO.JPG"), 3);
        QCOMPARE(r.imageOf("song.mp3"), 17);
        QCOMPARE(r.imageOf("pub/"), 7);
        QCOMPARE(r.window->statusText(), QStringLiteral("User name: user, Password successful"));
        QVERIFY(r.window->ListView2->isEnabled());
        QVERIFY(r.window->Discon->isEnabled());
        QVERIFY(r.data.read("tm").contains("readme.txt\r\n"));
    }

    void openFoldersAndGoBackUp()
    {
        RealWindow r(server_);
        r.window->Connect();
        QVERIFY(r.settle());

        r.pressEnterOn("pub/");
        QVERIFY(r.settle());
        QCOMPARE(r.entries().value(0), QStringLiteral("../"));
        QCOMPARE(sorted(r.entries()), QStringList({"../", "deeper/", "inside.txt"}));

        r.pressEnterOn("deeper/");
        QVERIFY(r.settle());
        QCOMPARE(r.entries(), QStringList({"../", "bottom.html"}));
        QCOMPARE(r.imageOf("bottom.html"), 15);

        r.pressEnterOn("../");
        QVERIFY(r.settle());
        QCOMPARE(sorted(r.entries()), QStringList({"../", "deeper/", "inside.txt"}));

        r.window->CupD->trigger();
        QVERIFY(r.settle());
        QVERIFY(r.entries().contains("readme.txt"));
        QVERIFY(!r.entries().contains("../"));

        r.pressEnterOn("my dir/");  // a name with a blank goes over whole
        QVERIFY(r.settle());
        QCOMPARE(r.entries(), QStringList({"../"}));
        QVERIFY(r.boxes.isEmpty());
        QVERIFY(r.window->Connected);
    }

    void refreshShowsWhatChanged()
    {
        RealWindow r(server_);
        r.window->Connect();
        QVERIFY(r.settle());
        QVERIFY(!r.entries().contains("fresh.txt"));
        QVERIFY(server_.writeFile("fresh.txt", "new"));
        r.window->Refr->trigger();
        QVERIFY(r.settle());
        QVERIFY(r.entries().contains("fresh.txt"));
        QVERIFY(QFile::remove(server_.pathOf("fresh.txt")));
    }

    void fiveHundredEntriesAreShownWhole()
    {
        RealWindow r(server_);
        r.window->Connect();
        QVERIFY(r.settle());
        r.pressEnterOn("many/");
        QVERIFY(r.settle());
        QCOMPARE(r.entries().size(), 501);
        QCOMPARE(r.entries().first(), QStringLiteral("../"));
        QVERIFY(r.entries().contains("entry_000.txt"));
        QVERIFY(r.entries().contains("entry_499.txt"));
        QCOMPARE(r.imageOf("entry_250.txt"), 13);
    }

    void connectDisconnectConnect()
    {
        RealWindow r(server_);
        r.window->Connect();
        QVERIFY(r.settle());
        r.pressEnterOn("pub/");
        QVERIFY(r.settle());
        r.window->Discon->trigger();
        QVERIFY(!r.window->Connected);
        QCOMPARE(r.window->statusText(), text(136));
        QVERIFY(r.entries().contains("inside.txt"));  // the last listing stays on view

        r.window->con->trigger();
        QVERIFY(r.settle());
        QVERIFY(r.window->Connected);
        QVERIFY(r.entries().contains("readme.txt"));  // a new session starts at the root
        QVERIFY(r.boxes.isEmpty());
    }

    void refusedFolderChangeIsReportedAndDisconnects()
    {
        RealWindow r(server_);
        r.window->Connect();
        QVERIFY(r.settle());
        QVERIFY(server_.makeFolder("gone"));
        r.window->Refr_Click();
        QVERIFY(r.settle());
        QVERIFY(QDir(server_.pathOf("gone")).removeRecursively());
        r.pressEnterOn("gone/");
        QVERIFY(QTest::qWaitFor([&r] { return !r.window->Connected; }, 20000));
        QCOMPARE(r.boxes.size(), 1);
        QVERIFY2(r.boxes[0].text.startsWith(text(165) + QStringLiteral("\r\n550 ")), qPrintable(r.boxes[0].text));
        QCOMPARE(r.window->windowTitle(), text(164));
        QCOMPARE(r.window->statusText(), text(136));

        // The marks of the failed change do not take the next connection's listing.
        r.window->Connect();
        QVERIFY(r.settle());
        QVERIFY(r.entries().contains("readme.txt"));
    }

    void noServerIsAnErrorWithCodeZero()
    {
        RealWindow r(server_);
        quint16 closedPort = 0;
        {
            QTcpServer probe;
            QVERIFY(probe.listen(QHostAddress::LocalHost));
            closedPort = probe.serverPort();
        }
        CurrentSetting[4] = QString::number(closedPort);
        r.window->Connect();
        QVERIFY(QTest::qWaitFor([&r] { return !r.window->Connected; }, 20000));
        QCOMPARE(r.boxes.size(), 1);
        QVERIFY2(r.boxes[0].text.startsWith(text(165) + QStringLiteral("\r\n0 ")), qPrintable(r.boxes[0].text));
        QCOMPARE(r.window->windowTitle(), text(164));
        QVERIFY(r.window->con->isEnabled());
    }
};

QTEST_MAIN(RemoteBrowsingTest)
#include "tst_remote_browsing.moc"
