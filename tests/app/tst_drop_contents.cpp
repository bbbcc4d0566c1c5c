// What a drop carries, read without a window: the desktop's uri-lists, the
// lists' own drags, and the counts named before a deletion.

#include "app/drop_contents.h"
#include "app/selection_texts.h"

#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace corvexo;

class TstDropContents : public QObject {
    Q_OBJECT
private slots:
    void uriListGivesLocalPathsOrRefuses_data()
    {
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("refused");
        QTest::newRow("blanks and Japanese, CR LF")
            << QByteArray("file:///home/u/a%20b.txt\r\nfile:///home/u/%E6%97%A5%E6%9C%AC/\r\n")
            << QStringList{"/home/u/a b.txt", "/home/u/日本"} << QString();
        QTest::newRow("comments and blank lines") << QByteArray("# from the desktop\n\nfile:///tmp/x\n")
                                                  << QStringList{"/tmp/x"} << QString();
        QTest::newRow("localhost and a percent sign") << QByteArray("file://localhost/tmp/100%25")
                                                      << QStringList{"/tmp/100%"} << QString();
        QTest::newRow("a web address") << QByteArray("file:///tmp/x\r\nhttps://example.org/a%20b\r\n")
                                       << QStringList{"/tmp/x"} << "https://example.org/a b";
        QTest::newRow("another machine's file") << QByteArray("file://server/share/x") << QStringList()
                                                << "file://server/share/x";
        QTest::newRow("the root has no name") << QByteArray("file:///") << QStringList() << "file:///";
    }
    void uriListGivesLocalPathsOrRefuses()
    {
        QFETCH(QByteArray, uriList);
        QFETCH(QStringList, paths);
        QFETCH(QString, refused);
        const UriListReading reading = readUriList(uriList);
        QCOMPARE(reading.paths, paths);
        QCOMPARE(reading.refused, refused);
    }

    void dropsAreToldApart()
    {
        const std::unique_ptr<QMimeData> own(makeListDragData(ListSide::Remote, {"a b.txt", "日本/"}));
        DropContents read = readDrop(*own);
        QCOMPARE(read.kind, DropContents::Kind::ListEntries);
        QCOMPARE(read.side, ListSide::Remote);
        QCOMPARE(read.entries, QStringList({"a b.txt", "日本/"}));

        QMimeData desktop;
        desktop.setData("text/uri-list", "file:///tmp/a%20b\r\n");
        read = readDrop(desktop);
        QCOMPARE(read.kind, DropContents::Kind::LocalFiles);
        QCOMPARE(read.paths, QStringList{"/tmp/a b"});
        desktop.setData("text/uri-list", "ftp://example.org/x\r\n");
        QCOMPARE(readDrop(desktop).kind, DropContents::Kind::NotFiles);

        // Another running copy's entries name another folder: they are not this window's.
        QMimeData foreign;
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << QStringLiteral("local") << qint64(-1) << QStringList{"x"};
        foreign.setData(listDragFormat(), bytes);
        foreign.setText("x");
        QCOMPARE(readDrop(foreign).kind, DropContents::Kind::Other);
    }

    void deleteQuestionNamesTheCounts_data()
    {
        QTest::addColumn<qint64>("files");
        QTest::addColumn<qint64>("folders");
        QTest::addColumn<QString>("question");
        QTest::newRow("both") << qint64(4) << qint64(3) << "Do you want to delete 4 files and 3 folders from the server?";
        QTest::newRow("one of each") << qint64(1) << qint64(1) << "Do you want to delete 1 file and 1 folder from the server?";
        QTest::newRow("files only") << qint64(2) << qint64(0) << "Do you want to delete 2 files from the server?";
        QTest::newRow("folders only") << qint64(0) << qint64(5) << "Do you want to delete 5 folders from the server?";
    }
    void deleteQuestionNamesTheCounts()
    {
        QFETCH(qint64, files);
        QFETCH(qint64, folders);
        QFETCH(QString, question);
        QCOMPARE(deleteCountQuestion(files, folders), question);
    }
};

QTEST_MAIN(TstDropContents)
#include "tst_drop_contents.moc"
