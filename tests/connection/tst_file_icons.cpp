#include "local/file_icons.h"
#include "tst_window_fixture.h"

#include <QtTest>

using namespace corvexo;

class FileIconsTest : public QObject {
    Q_OBJECT
private slots:
    void localTableByLastFourCharacters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("image");
        QTest::newRow("a.txt") << "a.txt" << 13;
        QTest::newRow("exactly .txt") << ".txt" << 13;
        QTest::newRow("x.TXT") << "x.TXT" << 13;
        QTest::newRow("abc") << "abc" << 3;
        QTest::newRow("ab") << "ab" << 3;
        QTest::newRow("empty") << "" << 3;
        QTest::newRow("PHOTO.JPG") << "PHOTO.JPG" << 12;
        QTest::newRow("anim.GIF") << "anim.GIF" << 12;
        QTest::newRow("pic.Bmp mixed case") << "pic.Bmp" << 3;
        QTest::newRow("photo.jpeg") << "photo.jpeg" << 3;
        QTest::newRow("song.mp3") << "song.mp3" << 17;
        QTest::newRow("song.MP3") << "song.MP3" << 3;
        QTest::newRow("tune.WAV") << "tune.WAV" << 3;
        QTest::newRow("ctl.OCX") << "ctl.OCX" << 14;
        QTest::newRow("index.html") << "index.html" << 15;
        QTest::newRow("INDEX.HTML") << "INDEX.HTML" << 15;
        QTest::newRow("page.shtml") << "page.shtml" << 15;
        QTest::newRow("html alone") << "html" << 15;
        QTest::newRow("old.HTM") << "old.HTM" << 15;
        QTest::newRow("folder-like pub/") << "pub/" << 3;
    }
    void localTableByLastFourCharacters()
    {
        QFETCH(QString, name);
        QFETCH(int, image);
        QCOMPARE(localImageFor(name), image);
    }

    void remoteTableKnowsFoldersAndLowerCaseOnly_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("image");
        QTest::newRow("pub/") << "pub/" << 7;
        QTest::newRow("a/ shorter than four") << "a/" << 7;
        QTest::newRow("../") << "../" << 7;
        QTest::newRow("./") << "./" << 7;
        QTest::newRow("folder named x.txt/") << "x.txt/" << 7;
        QTest::newRow("abc") << "abc" << 3;
        QTest::newRow("empty") << "" << 3;
        QTest::newRow("a.txt") << "a.txt" << 13;
        QTest::newRow("x.TXT") << "x.TXT" << 3;
        QTest::newRow("song.MP3") << "song.MP3" << 3;
        QTest::newRow("song.mp3") << "song.mp3" << 17;
        QTest::newRow("index.html") << "index.html" << 15;
        QTest::newRow("INDEX.HTML") << "INDEX.HTML" << 3;
        QTest::newRow("PHOTO.JPG") << "PHOTO.JPG" << 3;
        QTest::newRow("photo.jpeg") << "photo.jpeg" << 3;
        QTest::newRow("photo.jpg") << "photo.jpg" << 12;
        QTest::newRow("m.mid") << "m.mid" << 17;
        QTest::newRow("c.ocx") << "c.ocx" << 14;
        QTest::newRow("name with blank.txt") << "my notes.txt" << 13;
    }
    void remoteTableKnowsFoldersAndLowerCaseOnly()
    {
        QFETCH(QString, entry);
        QFETCH(int, image);
        QCOMPARE(remoteImageFor(entry), image);
    }

    void itypeAppendsOneLocalEntryWithItsImage()
    {
        testing::WindowFixture f;
        QListWidget *list = f.window->ListView1;
        list->clear();
        list->addItem(QStringLiteral("readme.txt"));
        f.window->LFileName = QStringLiteral("readme.txt");
        f.window->ITYPE();
        f.window->LFileName = QStringLiteral("song.MP3");
        f.window->ITYPE();
        QCOMPARE(list->count(), 3);  // a name already listed shows twice
        QCOMPARE(list->item(1)->text(), QStringLiteral("readme.txt"));
        QCOMPARE(list->item(1)->data(kImageNumberRole).toInt(), 13);
        QCOMPARE(list->item(2)->text(), QStringLiteral("song.MP3"));
        QCOMPARE(list->item(2)->data(kImageNumberRole).toInt(), 3);
        QVERIFY(!list->item(2)->icon().isNull());
    }
};

QTEST_MAIN(FileIconsTest)
#include "tst_file_icons.moc"
