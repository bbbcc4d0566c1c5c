// The availability tables for both lists, row by row. Each pattern lists
// UpL DownL CupD Refr FrDRname FMkD Fdelete button5 button6 as 1 (on) or 0 (off).

#include "remote_ops/edit_availability_table.h"

#include <QtTest>

using namespace corvexo;

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

class EditAvailabilityTableTest : public QObject {
    Q_OBJECT
private slots:
    void localList_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("mouseDown");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not connected") << false << 3 << true << false << "000000000";
        QTest::newRow("not connected, empty list") << false << 0 << false << true << "000000000";
        QTest::newRow("local entry selected") << true << 3 << true << false << "100000001";
        QTest::newRow("local entry selected, in mouse handler") << true << 3 << true << true << "100000001";
        QTest::newRow("none selected") << true << 3 << false << false << "001101000";
        QTest::newRow("none selected, in mouse handler") << true << 3 << false << true << "000000000";
        QTest::newRow("local list empty") << true << 0 << false << false << "same";
    }
    void localList()
    {
        QFETCH(bool, connected);
        QFETCH(int, entries);
        QFETCH(bool, selected);
        QFETCH(bool, mouseDown);
        QFETCH(QString, expected);
        QCOMPARE(pattern(localListAvailability(connected, entries, selected, mouseDown)), expected);
    }

    void remoteList_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not connected") << false << true << true << "a.txt" << "000000000";
        QTest::newRow("not connected, list disabled") << false << false << false << "" << "000000000";
        QTest::newRow("parent") << true << true << true << "../" << "001100000";
        QTest::newRow("self") << true << true << true << "./" << "001100000";
        QTest::newRow("folder ending in a dot") << true << true << true << "abc./" << "001110100";
        QTest::newRow("folder") << true << true << true << "pub/" << "001110100";
        QTest::newRow("folder with blanks") << true << true << true << "my dir/" << "001110100";
        QTest::newRow("file") << true << true << true << "a.txt" << "011110110";
        QTest::newRow("empty last line counts as a file") << true << true << true << "" << "011110110";
        QTest::newRow("list disabled") << true << false << true << "a.txt" << "same";
        QTest::newRow("nothing selected") << true << true << false << "a.txt" << "same";
    }
    void remoteList()
    {
        QFETCH(bool, connected);
        QFETCH(bool, enabled);
        QFETCH(bool, selected);
        QFETCH(QString, entry);
        QFETCH(QString, expected);
        QCOMPARE(pattern(remoteListAvailability(connected, enabled, selected, entry)), expected);
    }
};

QTEST_GUILESS_MAIN(EditAvailabilityTableTest)
#include "tst_edit_availability_table.moc"
