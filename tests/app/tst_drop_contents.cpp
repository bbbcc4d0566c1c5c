// Read without a window: the desktop's uri-lists, and the counts named
// before a deletion.

#include "app/drop_contents.h"
#include "app/selection_texts.h"
#include "app/strings/string_table.h"

#include <QtTest>

using namespace corvexo;

class TstDropContents : public QObject {
    Q_OBJECT
private slots:
    void uriListGivesLocalPathsOrRefuses_data()
    {
        QTest::addColumn<QByteArray>("uriList");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("refused");
        QTest::newRow("blanks, Japanese, a comment, localhost")
            << QByteArray("# from the desktop\r\n\r\nfile:///home/u/a%20b%25.txt\r\nfile://localhost/home/u/%E6%97%A5%E6%9C%AC/\n")
            << QStringList{"/home/u/a b%.txt", "/home/u/日本"} << QString();
        QTest::newRow("a web address") << QByteArray("file:///tmp/x\r\nhttps://example.org/a%20b\r\n")
                                       << QStringList{"/tmp/x"} << "https://example.org/a b";
        QTest::newRow("another machine's file") << QByteArray("file://server/x") << QStringList() << "file://server/x";
        QTest::newRow("the root has no name") << QByteArray("file:///") << QStringList() << "file:///";
    }
    void uriListGivesLocalPathsOrRefuses()
    {
        QFETCH(QByteArray, uriList);
        const UriListReading reading = readUriList(uriList);
        QTEST(reading.paths, "paths");
        QTEST(reading.refused, "refused");
    }

    void deleteQuestionNamesTheCounts_data()
    {
        QTest::addColumn<qint64>("files");
        QTest::addColumn<qint64>("folders");
        QTest::addColumn<QString>("question");
        QTest::newRow("both") << qint64(4) << qint64(3) << "Do you want to delete 4 files and 3 folders from the server?";
        QTest::newRow("one of each") << qint64(1) << qint64(1) << "Do you want to delete 1 file and 1 folder from the server?";
        QTest::newRow("folders only") << qint64(0) << qint64(5) << "Do you want to delete 5 folders from the server?";
    }
    void deleteQuestionNamesTheCounts()
    {
        QFETCH(qint64, files);
        QFETCH(qint64, folders);
        QTEST(deleteCountQuestion(files, folders), "question");
    }

    void deleteQuestionInJapanese()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        QCOMPARE(deleteCountQuestion(4, 3), QStringLiteral("ファイル 4 個とフォルダ 3 個をサーバーから削除しますか？"));
        QCOMPARE(deleteCountQuestion(0, 1), QStringLiteral("フォルダ 1 個をサーバーから削除しますか？"));
    }
};

QTEST_MAIN(TstDropContents)
#include "tst_drop_contents.moc"
