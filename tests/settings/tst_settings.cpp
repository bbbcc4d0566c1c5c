// The connection settings: the line reader's table, the files' bytes,
// permissions, limits and errors, and the settings window's flows.
#include "app/strings/string_table.h"
#include "settings/setting_lines.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kHome = "\"ftp://ftp.example.org\",\"secret\",\"anonymous\",\"21\",\"Home\"\r\n";
const QByteArray kThree = "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n\"ftp.b.org\",\"x,y\",\"ub\",\"2\",\"B\"\r\n"
                          "\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n";
const QString kNotRewritten = QStringLiteral("\"SLItems\" could not be read in full, so it is not rewritten. "
                                             "Please correct or delete the file.");
const auto kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QByteArray numbered(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes += "ftp.h,p,u,21,N" + QByteArray::number(i) + "\r\n";
    return bytes;
}

QFileDevice::Permissions permissionsOf(const WindowFixture &f, const QString &name)
{
    return QFile::permissions(f.data.filePath(name)) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

// The window started on these files (null: none), its settings window open.
Form2 *openOn(WindowFixture &f, const QByteArray &list, const QByteArray &defaultLine = {})
{
    if (!list.isNull()) f.data.write("SLItems", list);
    if (!defaultLine.isNull()) f.data.write("Sfile", defaultLine);
    f.start();
    f.window->Sett_Click();
    return existingSettingsWindow();
}
} // namespace

class SettingsTest : public QObject {
    Q_OBJECT
private slots:
    void readerReadsBothLineForms_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        const QStringList plain{"ftp.a", "p", "u", "21", "A"};
        QTest::newRow("quoted") << "\"ftp.a\",\"p\",\"u\",\"21\",\"A\"" << plain;
        QTest::newRow("comma kept in quotes") << "\"ftp.a\",\"p,q\",u,21,A" << QStringList{"ftp.a", "p,q", "u", "21", "A"};
        QTest::newRow("leading blanks skipped") << "  ftp.a, p,u,21,  A" << plain;
        QTest::newRow("blanks kept in quotes") << "\" ftp.a\",p,u,21,\"A \"" << QStringList{" ftp.a", "p", "u", "21", "A "};
        QTest::newRow("unclosed quote") << "a,b,c,d,\"e,f" << QStringList{"a", "b", "c", "d", "e,f"};
        QTest::newRow("short") << "a,b,c" << QStringList{"a", "b", "c"};
    }
    void readerReadsBothLineForms()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        QCOMPARE(readLineFields(line), fields);
    }

    void addWritesOneQuotedLineForTheOwnerOnly()
    {
        WindowFixture f(WindowFixture::Start::Later);
        Form2 *w = openOn(f, {});
        QTest::keyClicks(w->Text5, "Home");
        QTest::keyClicks(w->Text1, "ftp://ftp.example.org");
        w->MaskEdBox1->home(false);
        QTest::keyClicks(w->MaskEdBox1, "2x1");  // the port field takes digits only
        QTest::keyClicks(w->Text3, "anonymous");
        QTest::keyClicks(w->Text4, "secret");
        w->Command4->click();
        QVERIFY(f.boxes.isEmpty());
        QCOMPARE(f.data.read("SLItems"), kHome);
        QCOMPARE(permissionsOf(f, "SLItems"), kOwnerOnly);
        QVERIFY(!QFile::exists(f.data.filePath("Sfile")));
        QCOMPARE(f.window->Combo1->itemText(0), QStringLiteral("Home"));
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.example.org"));

        typeSetting(w, "ftp.other", "p", "u", "21", "Home");  // names are unique
        w->Command4->click();
        QCOMPARE(f.texts(), QStringList{text(129)});
        QCOMPARE(f.data.read("SLItems"), kHome);
    }

    void removalRewritesTheFileWhole()
    {
        WindowFixture f(WindowFixture::Start::Later);
        Form2 *w = openOn(f, kThree);
        QFile::setPermissions(f.data.filePath("SLItems"), kOwnerOnly | QFileDevice::ReadOther);
        w->List1->setCurrentRow(0);
        f.answers = {true};
        w->Command3->click();
        QCOMPARE(f.texts(), QStringList{text(118)});
        QCOMPARE(f.data.read("SLItems"), kThree.mid(kThree.indexOf("\r\n") + 2));
        QCOMPARE(permissionsOf(f, "SLItems"), kOwnerOnly);
        QCOMPARE(QDir(f.data.dataFolder()).entryList(QDir::Files | QDir::Hidden), (QStringList{"SLItems"}));  // no temporary left, and no default made
        QCOMPARE(WindowFixture::entries(w->List1), (QStringList{"B", "C"}));
        QCOMPARE(SettingList[0].Password, QStringLiteral("x,y"));
    }

    void badFieldsAreToldAndChangeNothing()
    {
        WindowFixture f(WindowFixture::Start::Later);
        Form2 *w = openOn(f, kThree);
        CurrentSetting = {"", "old1", "old2", "old3", "old4", "old5"};
        typeSetting(w, "example.org", "pa\"ss", "ud", "21", "D");  // the files cannot keep a double quote
        w->Command4->click();
        QCOMPARE(f.texts(), QStringList{text(127) + "\r\n\r\n" + text(128) +
                                        "\r\n* A double quote (\") or a line break cannot be saved. Please remove it from: Password.\r\n"});
        QCOMPARE(CurrentSetting[1], QStringLiteral("old1"));
        QCOMPARE(f.data.read("SLItems"), kThree);
    }

    void hundredSettingsRefuseAnotherAndMoreThan101AreKept()
    {
        WindowFixture f(WindowFixture::Start::Later);
        Form2 *w = openOn(f, numbered(100));
        typeSetting(w, "ftp.a", "p", "u", "21", "Another");
        w->Command4->click();
        QCOMPARE(f.texts(), QStringList{text(130)});
        QCOMPARE(f.data.read("SLItems"), numbered(100));

        f.boxes.clear();
        f.data.write("SLItems", numbered(101));
        LoadList();
        QCOMPARE(w->List1->count(), 101);
        QVERIFY(f.boxes.isEmpty());
        f.data.write("SLItems", numbered(104));
        LoadList();
        QCOMPARE(w->List1->count(), 101);
        QCOMPARE(f.texts(), QStringList{"\"SLItems\" holds too many settings: only the first 101 were read, "
                                        "3 were not. The file was left as it is."});
        f.boxes.clear();
        f.answers = {true};
        w->Command5->click();  // clearing the list would lose the three
        QCOMPARE(f.texts().last(), kNotRewritten);
        QCOMPARE(f.data.read("SLItems"), numbered(104));
    }

    void brokenFilesAreToldAndKept()
    {
        WindowFixture f(WindowFixture::Start::Later);
        const QByteArray shortLine = kHome + "ftp.b,p,u\r\n";
        Form2 *w = openOn(f, shortLine, "\"ftp.a\",\"p\"\r\n");
        QVERIFY2(f.texts().contains("\"Sfile\" does not hold a line of five fields and was not read. The file was left as it is."),
                 qPrintable(f.texts().join('|')));
        QVERIFY(f.texts().contains("Line(s) 2 of \"SLItems\" do not hold five fields and were skipped. The file was left as it is."));
        QCOMPARE(CurrentSetting[1], QString());
        f.boxes.clear();
        f.answers = {true};
        w->Command5->click();
        QCOMPARE(f.texts(), QStringList{kNotRewritten});
        QCOMPARE(f.data.read("SLItems"), shortLine);
    }

    void unreadableFilesAreTold()
    {
        WindowFixture f(WindowFixture::Start::Later);
        QVERIFY(QDir(f.data.dataFolder()).mkpath("SLItems"));
        QVERIFY(QDir(f.data.dataFolder()).mkpath("Sfile"));
        Form2 *w = openOn(f, {});
        QVERIFY2(f.texts().value(0).startsWith("Could not read \"Sfile\""), qPrintable(f.texts().join('|')));
        QVERIFY(f.texts().last().startsWith("Could not read \"SLItems\""));
        QCOMPARE(w->List1->count(), 0);
    }
};

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
