// What a user meets in the settings window: adding, checking, choosing the
// default, removing and clearing settings, with the main window's setting box
// following every reload.
#include "settings_test_helpers.h"
#include "app/strings/string_table.h"

#include <QPushButton>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
const QByteArray kThree = "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n"
                          "\"ftp://ftp.b.org\",\"pb\",\"ub\",\"2\",\"B\"\r\n"
                          "\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n";
const QByteArray kDefaultB = "\"ftp.b.org\",\"pb\",\"ub\",\"2\",\"B\"\r\n";
const QByteArray kNoDefault = "\"\",\"\",\"\",\"\",\"\"\r\n";

QString fivefold()
{
    return text(127) + "\r\n\r\n" + text(128) + "\r\n* " + text(122) + "\r\n* " + text(123) + "\r\n* " +
           text(124) + "\r\n* " + text(125) + "\r\n* " + text(126) + "\r\n";
}
QStringList slots15() { return {CurrentSetting[1], CurrentSetting[2], CurrentSetting[3], CurrentSetting[4], CurrentSetting[5]}; }
} // namespace

class SettingsFlowsTest : public QObject {
    Q_OBJECT
    SettingsFixture f;

    Form2 *openWithThree(bool withDefault)
    {
        f.dir->write("SLItems", kThree);
        if (withDefault) f.dir->write("Sfile", kDefaultB);
        f.startMainWindow();
        return f.open();
    }

private slots:
    void init() { f.start(); }
    void cleanup() { f.stop(); }

    void firstRunAddsASetting()
    {
        Form1 *form1 = f.startMainWindow();
        QVERIFY(!existingSettingsWindow());
        QCOMPARE(form1->Combo1->count(), 0);
        Form2 *w = f.open();
        QVERIFY(!w->Command3->isEnabled() && !w->Command5->isEnabled());
        QTest::keyClicks(w->Text5, "Home");
        QTest::keyClicks(w->Text1, "ftp://ftp.example.org");
        w->MaskEdBox1->home(false);
        QTest::keyClicks(w->MaskEdBox1, "21");
        QTest::keyClicks(w->Text3, "anonymous");
        QTest::keyClicks(w->Text4, "me@example.org");
        w->Command4->click();
        QVERIFY(f.boxes->seen.isEmpty());
        QCOMPARE(f.dir->read("SLItems"), QByteArray("\"ftp://ftp.example.org\",\"me@example.org\",\"anonymous\",\"21\",\"Home\"\r\n"));
        QVERIFY(!QFile::exists(f.dir->filePath("Sfile")));
        QCOMPARE(itemTexts(w->List1), QStringList{"Home"});
        QCOMPARE(itemTexts(form1->Combo1), QStringList{"Home"});
        QCOMPARE(slots15(), (QStringList{"ftp.example.org", "me@example.org", "anonymous", "21", "Home"}));
        QCOMPARE(w->List1->currentRow(), 0);
        QVERIFY(w->Command3->isEnabled() && w->Command5->isEnabled());
        QVERIFY(w->isVisible());
    }

    void allFieldsEmptyGiveOneReport()
    {
        Form2 *w = openWithThree(true);
        for (QLineEdit *field : {w->Text1, w->Text4, w->Text3, w->MaskEdBox1, w->Text5}) field->clear();
        CurrentSetting = {"", "old1", "old2", "old3", "old4", "old5"};
        w->Command1->click();
        QCOMPARE(f.boxes->texts(), QStringList{fivefold()});
        QCOMPARE(f.boxes->seen.first().title, QStringLiteral("Corvexo"));
        QVERIFY(!f.boxes->seen.first().yesNo);
        QVERIFY(!w->isVisible());  // OK hides also after a report
        QCOMPARE(fieldsShown(w), (QStringList{"ftp.a.org", "pa", "ua", "21", "A"}));
        QCOMPARE(slots15(), (QStringList{"old1", "old2", "old3", "old4", "old5"}));
        QCOMPARE(f.dir->read("Sfile"), kDefaultB);
        QCOMPARE(f.dir->read("SLItems"), kThree);
    }

    void passingFieldsAreTakenOverWhenOthersFail()
    {
        Form2 *w = f.open();
        CurrentSetting = {"", "old1", "old2", "old3", "old4", "old5"};
        typeSetting(w, "FTP://ftp.example.org", "pw", "", "21", "Name");
        w->Command6->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(127) + "\r\n\r\n" + text(128) + "\r\n* " + text(122) + "\r\n* " +
                                               text(124) + "\r\n"});
        QCOMPARE(slots15(), (QStringList{"old1", "pw", "old3", "21", "Name"}));
        // The list is empty: what was typed stays.
        QCOMPARE(w->Text1->text(), QStringLiteral("FTP://ftp.example.org"));
        QVERIFY(!QFile::exists(f.dir->filePath("Sfile")));

        f.boxes->clear();
        w->Text1->setText("example.org");
        w->Text3->setText("u");
        w->Command4->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(127) + "\r\n\r\n" + text(128) + "\r\n* " + text(122) + "\r\n"});
        QVERIFY(!QFile::exists(f.dir->filePath("SLItems")));
    }

    void ftpPrefixDroppedInTheCurrentSettingOnly()
    {
        Form2 *w = f.open();
        typeSetting(w, "ftp://", "p", "u", "21", "Bare");
        w->Command4->click();
        QVERIFY(f.boxes->seen.isEmpty());
        QCOMPARE(CurrentSetting[1], QString());
        QCOMPARE(f.dir->read("SLItems"), QByteArray("\"ftp://\",\"p\",\"u\",\"21\",\"Bare\"\r\n"));

        typeSetting(w, "ftp://ftp.example.org", "p", "u", "21", "Full");
        f.boxes->answers = {true};  // Set-default on a name not in the list: add it? Yes
        w->Command6->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(120)});
        QCOMPARE(f.dir->read("Sfile"), QByteArray("\"ftp.example.org\",\"p\",\"u\",\"21\",\"Full\"\r\n"));
        QVERIFY(f.dir->read("SLItems").endsWith("\"ftp://ftp.example.org\",\"p\",\"u\",\"21\",\"Full\"\r\n"));
        QCOMPARE(w->Text6->text(), QStringLiteral("Full"));
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.example.org"));
    }

    void addOfADuplicateName()
    {
        Form2 *w = openWithThree(false);
        typeSetting(w, "ftp.other.org", "px", "ux", "22", "B");
        w->Command4->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(129)});
        QCOMPARE(f.dir->read("SLItems"), kThree);
        QCOMPARE(slots15(), (QStringList{"ftp.other.org", "px", "ux", "22", "B"}));
        QCOMPARE(fieldsShown(w), (QStringList{"ftp.a.org", "pa", "ua", "21", "A"}));
        QCOMPARE(itemTexts(f.form1->Combo1), (QStringList{"A", "B", "C"}));
    }

    void setDefaultOnAnEmptyList()
    {
        Form2 *w = f.open();
        typeSetting(w, "ftp.a.org", "pa", "ua", "21", "A");
        w->Command6->click();  // No
        QCOMPARE(f.boxes->texts(), (QStringList{text(120), text(121)}));
        QVERIFY(!QFile::exists(f.dir->filePath("Sfile")));
        QVERIFY(!QFile::exists(f.dir->filePath("SLItems")));

        f.boxes->clear();
        f.boxes->answers = {true};
        w->Command6->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(120)});
        QCOMPARE(f.dir->read("SLItems"), QByteArray("\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n"));
        QCOMPARE(f.dir->read("Sfile"), QByteArray("\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n"));
        QCOMPARE(w->Text6->text(), QStringLiteral("A"));
        QCOMPARE(itemTexts(f.form1->Combo1), QStringList{"A"});
    }

    void setDefaultOnANameInTheList()
    {
        Form2 *w = openWithThree(true);
        w->List1->setCurrentRow(2);
        QCOMPARE(w->Text5->text(), QStringLiteral("C"));
        w->Command6->click();
        QVERIFY(f.boxes->seen.isEmpty());
        QCOMPARE(f.dir->read("Sfile"), QByteArray("\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n"));
        QCOMPARE(w->Text6->text(), QStringLiteral("C"));
        QCOMPARE(w->Text5->text(), QStringLiteral("A"));  // the first setting is shown afterwards
    }

    void okWhenADefaultExists()
    {
        Form2 *w = openWithThree(true);
        QCOMPARE(w->Text6->text(), QStringLiteral("B"));
        w->List1->setCurrentRow(2);
        w->Command1->click();
        QVERIFY(f.boxes->seen.isEmpty());
        QVERIFY(!w->isVisible());
        QCOMPARE(f.dir->read("Sfile"), kDefaultB);
        QCOMPARE(slots15(), (QStringList{"ftp.c.org", "pc", "uc", "21", "C"}));

        // A name not in the list: question 131; Yes appends it, the default stays.
        f.open();
        typeSetting(w, "ftp.d.org", "pd", "ud", "21", "D");
        f.boxes->answers = {true};
        w->Command1->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(131)});
        QCOMPARE(itemTexts(f.form1->Combo1), (QStringList{"A", "B", "C", "D"}));
        QCOMPARE(f.dir->read("Sfile"), kDefaultB);
    }

    void removeASettingThatIsNotTheDefault()
    {
        Form2 *w = openWithThree(true);
        CurrentSetting = {"", "ftp.c.org", "pc", "uc", "21", "C"};  // taken over by an earlier OK
        w->List1->setCurrentRow(0);
        f.boxes->answers = {true};
        w->Command3->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(118)});
        QCOMPARE(itemTexts(w->List1), (QStringList{"B", "C"}));
        QCOMPARE(itemTexts(f.form1->Combo1), (QStringList{"B", "C"}));
        QCOMPARE(f.dir->read("SLItems"), QByteArray("\"ftp://ftp.b.org\",\"pb\",\"ub\",\"2\",\"B\"\r\n"
                                                     "\"ftp.c.org\",\"pc\",\"uc\",\"21\",\"C\"\r\n"));
        QCOMPARE(fieldsShown(w), (QStringList{"ftp://ftp.b.org", "pb", "ub", "2", "B"}));
        QCOMPARE(f.dir->read("Sfile"), kDefaultB);  // the default stays
        QCOMPARE(w->Text6->text(), QStringLiteral("B"));

        // Answered No: nothing changes.
        f.boxes->clear();
        w->Command3->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(118)});
        QCOMPARE(w->List1->count(), 2);
    }

    void removeTheDefaultSetting()
    {
        Form2 *w = openWithThree(true);
        w->List1->setCurrentRow(1);
        f.boxes->answers = {true, false};
        w->Command3->click();
        QCOMPARE(f.boxes->texts(), (QStringList{text(118), text(119)}));
        QCOMPARE(w->List1->count(), 3);
        QCOMPARE(f.dir->read("SLItems"), kThree);

        f.boxes->clear();
        w->List1->setCurrentRow(1);
        f.boxes->answers = {true, true};
        w->Command3->click();
        QCOMPARE(f.boxes->texts(), (QStringList{text(118), text(119)}));
        QCOMPARE(itemTexts(f.form1->Combo1), (QStringList{"A", "C"}));
        QCOMPARE(f.dir->read("Sfile"), kNoDefault);
        QCOMPARE(w->Text6->text(), QString());
        QCOMPARE(slots15(), (QStringList{"", "", "", "", ""}));
        QVERIFY(!f.dir->read("SLItems").contains("ftp.b.org"));
    }

    void removeTheLastSetting()
    {
        f.dir->write("SLItems", "\"ftp.a.org\",\"pa\",\"ua\",\"21\",\"A\"\r\n");
        Form2 *w = f.open();
        f.boxes->answers = {true};
        w->Command3->click();
        QCOMPARE(f.dir->read("SLItems"), QByteArray());
        QCOMPARE(w->List1->count(), 0);
        QCOMPARE(f.form1->Combo1->count(), 0);
        QVERIFY(!w->Command3->isEnabled() && !w->Command5->isEnabled());
        QCOMPARE(fieldsShown(w), (QStringList{"", "", "", "", ""}));
    }

    void initializeClearsEverything()
    {
        Form2 *w = openWithThree(true);
        w->Command5->click();  // No
        QCOMPARE(f.boxes->texts(), QStringList{text(117)});
        QCOMPARE(f.dir->read("SLItems"), kThree);

        f.boxes->clear();
        f.boxes->answers = {true};
        w->Command5->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(117)});
        QCOMPARE(f.dir->read("SLItems"), QByteArray());
        QCOMPARE(f.dir->read("Sfile"), kNoDefault);
        QCOMPARE(w->List1->count(), 0);
        QCOMPARE(f.form1->Combo1->count(), 0);
        QCOMPARE(w->Text6->text(), QString());
        QVERIFY(!w->Command3->isEnabled() && !w->Command5->isEnabled());
        QCOMPARE(SettingList[2].HostAddress, QString());
    }

    void brokenListFileIsNotRewritten()
    {
        const QByteArray broken = kThree + "ftp.x,only,three\r\n";
        f.dir->write("SLItems", broken);
        Form2 *w = f.open();
        QCOMPARE(f.boxes->seen.size(), 1);  // the skipped line is reported at the load
        f.boxes->clear();
        f.boxes->answers = {true};
        w->Command5->click();
        QCOMPARE(f.boxes->texts(), QStringList{"\"SLItems\" could not be read in full, so it is not rewritten. "
                                               "Please correct or delete the file."});
        QCOMPARE(f.dir->read("SLItems"), broken);
        QCOMPARE(w->List1->count(), 3);
        QCOMPARE(f.boxes->answers.size(), 1);  // nothing was asked
    }

    void doubleQuoteInAFieldIsRefused()
    {
        Form2 *w = f.open();
        CurrentSetting = {"", "old1", "old2", "old3", "old4", "old5"};
        typeSetting(w, "ftp.a.org", "pa\"ss", "ua", "21", "A");
        w->Command4->click();
        QCOMPARE(f.boxes->texts(), QStringList{text(127) + "\r\n\r\n" + text(128) +
                                               "\r\n* A double quote (\") or a line break cannot be saved. Please remove it from: Password.\r\n"});
        QVERIFY(!QFile::exists(f.dir->filePath("SLItems")));
        QCOMPARE(slots15(), (QStringList{"ftp.a.org", "old2", "ua", "21", "A"}));
    }
};

QTEST_MAIN(SettingsFlowsTest)
#include "tst_settings_flows.moc"
