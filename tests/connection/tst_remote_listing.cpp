// The remote listing: the answer read whole, kept in "tm" and read back line
// by line into ListView2; Refresh.
#include "app/strings/string_table.h"
#include "connection/remote_listing.h"
#include "tst_window_fixture.h"

#include <QFile>
#include <QtTest>

using namespace corvexo;
using corvexo::testing::WindowFixture;

class RemoteListingTest : public QObject {
    Q_OBJECT
private slots:
    void linesEndAtCrLfOrLoneCr()
    {
        QCOMPARE(listingLines("a\r\nb\r\n"), QStringList({"a", "b"}));
        QCOMPARE(listingLines("a\rb\r\n"), QStringList({"a", "b"}));
        QCOMPARE(listingLines("a\nb\r\n"), QStringList({"a\nb"}));
        QCOMPARE(listingLines("a\r\n\r\n"), QStringList({"a", ""}));
        QCOMPARE(listingLines("\r\n"), QStringList({""}));
        QCOMPARE(listingLines("no end"), QStringList({"no end"}));
        QCOMPARE(listingLines(QString()), QStringList());
        QCOMPARE(tmFileContent("x"), QStringLiteral("x\r\n"));
    }

    void answerEndingInCrLfGivesAnEmptyLastEntry()
    {
        WindowFixture f;
        f.connectWithListing("../\r\n./\r\nabc\r\n");
        QCOMPARE(f.remoteEntries(), QStringList({"../", "./", "abc", ""}));
        QCOMPARE(f.remoteImages(), QList<int>({7, 7, 3, 3}));
        QCOMPARE(f.data.read("tm"), QByteArray("../\r\n./\r\nabc\r\n\r\n"));
    }

    void emptyAnswerGivesOneEmptyEntry()
    {
        WindowFixture f;
        f.connectWithListing("");
        QCOMPARE(f.remoteEntries(), QStringList({""}));
        QCOMPARE(f.remoteImages(), QList<int>({3}));
    }

    void longAnswerIsShownWhole()
    {
        WindowFixture f;
        QByteArray answer = "../\r\n";
        QStringList expected = {"../"};
        for (int i = 0; i < 500; ++i) {
            const QString name = QStringLiteral("file_%1_with_a_longer_name.txt").arg(i, 3, 10, QChar(u'0'));
            answer += name.toUtf8() + "\r\n";
            expected << name;
        }
        answer += "\xe6\x97\xa5\xe6\x9c\xac.txt";  // a name in UTF-8 that may be split between chunks
        expected << QString::fromUtf8("\xe6\x97\xa5\xe6\x9c\xac.txt");
        QVERIFY(answer.size() > 16 * 1024);
        f.connectWithListing(answer);
        QCOMPARE(f.remoteEntries(), expected);
    }

    void unwritableTmStillShowsTheListing()
    {
        WindowFixture f;
        // A folder where "tm" should be: the file can be neither written nor read.
        QVERIFY(QDir().mkpath(f.data.filePath("tm")));
        f.connectWithListing("a.txt\r\nb/");
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt", "b/"}));
        QCOMPARE(f.caption(), text(166));
    }

    void refreshSendsDirWhileConnected()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        f.window->Refr->trigger();
        QCOMPARE(f.inet->commands, QStringList({"dir ", "Dir "}));
        QVERIFY(f.window->ListWait);
        f.inet->completeWithAnswer("b.txt");
        QCOMPARE(f.remoteEntries(), QStringList({"b.txt"}));
        QCOMPARE(f.data.read("tm"), QByteArray("b.txt\r\n"));  // rewritten whole
    }

    void refreshWhileDisconnectedOnlyTellsSo()
    {
        WindowFixture f;
        f.connectWithListing("a.txt");
        f.window->Discon_Click();
        f.window->Refr_Click();
        QCOMPARE(f.boxes.size(), 1);
        QCOMPARE(f.boxes[0].text, text(176));
        QCOMPARE(f.boxes[0].title, QStringLiteral("Corvexo"));
        QCOMPARE(f.inet->commands, QStringList({"dir "}));
        QCOMPARE(f.remoteEntries(), QStringList({"a.txt"}));
    }
};

QTEST_MAIN(RemoteListingTest)
#include "tst_remote_listing.moc"
