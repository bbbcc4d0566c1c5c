// What the store's operations write to "Sfile" and "SLItems", what they make
// of the files they read, and how they behave when a file is not as expected.
#include "settings_test_helpers.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "app/strings/string_table.h"
#include "support/test_data_dir.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

const QByteArray kHomeLine = "\"ftp://ftp.example.org\",\"secret\",\"anonymous\",\"21\",\"Home\"\r\n";

QByteArray numberedLines(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) bytes += "ftp.h" + QByteArray::number(i) + ",p,u,21,N" + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

class SettingsFilesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDataDir> dir;
    std::unique_ptr<MessageLog> boxes;
    std::unique_ptr<QComboBox> combo1;

    void append()
    {
        bool flag = true;
        SaveList(flag);
        QVERIFY(!flag);
    }
    void rewrite()
    {
        bool flag = false;
        SaveList(flag);
    }
    QFileDevice::Permissions permissionsOf(const QString &name) const
    {
        return QFile::permissions(dir->filePath(name)) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
    }

private slots:
    void init()
    {
        dir = std::make_unique<TestDataDir>();
        boxes = std::make_unique<MessageLog>();
        combo1 = std::make_unique<QComboBox>();
        attachSettingsStore(nullptr, combo1.get());
    }
    void cleanup()
    {
        resetSettingsStore();
        attachSettingsStore(nullptr, nullptr);
        combo1.reset();
        boxes.reset();
        dir.reset();
    }

    void firstRunAppendWritesOneQuotedLine()
    {
        Form2 *w = settingsWindow();
        QVERIFY(w->List1->count() == 0 && w->Text6->text().isEmpty() && combo1->count() == 0);
        typeSetting(w, "ftp://ftp.example.org", "secret", "anonymous", "21", "Home");
        append();
        QCOMPARE(dir->read("SLItems"), kHomeLine);
        QCOMPARE(permissionsOf("SLItems"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QCOMPARE(SettingCount, qint16(0));
        QCOMPARE(SettingBuffer[0].HostAddress, QStringLiteral("ftp://ftp.example.org"));
        QCOMPARE(itemTexts(w->List1), QStringList{"Home"});
        QCOMPARE(combo1->count(), 0);  // the append leaves the main window's box to the reload
        LoadList();
        QCOMPARE(itemTexts(combo1.get()), QStringList{"Home"});
        QCOMPARE(SettingList[0].Password, QStringLiteral("secret"));
        QVERIFY(boxes->seen.isEmpty());
    }

    void defaultIsSavedAndReadBack()
    {
        CurrentSetting = {"ignored", "ftp.example.org", "pw", "user", "2", "Work"};
        SaveDefault();
        QCOMPARE(dir->read("Sfile"), QByteArray("\"ftp.example.org\",\"pw\",\"user\",\"2\",\"Work\"\r\n"));
        QCOMPARE(permissionsOf("Sfile"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        CurrentSetting = {};
        QVERIFY(!existingSettingsWindow());
        LoadDefault();
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.example.org"));
        QCOMPARE(CurrentSetting[5], QStringLiteral("Work"));
        QVERIFY(existingSettingsWindow());  // created hidden to show the default's name
        QVERIFY(!existingSettingsWindow()->isVisible());
        QCOMPARE(existingSettingsWindow()->Text6->text(), QStringLiteral("Work"));

        CurrentSetting = {};
        SaveDefault();
        QCOMPARE(dir->read("Sfile"), QByteArray("\"\",\"\",\"\",\"\",\"\"\r\n"));
    }

    void missingDefaultChangesNothing()
    {
        CurrentSetting = {"", "ftp.keep", "", "", "", ""};
        LoadDefault();
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.keep"));
        QVERIFY(!existingSettingsWindow());
        QVERIFY(boxes->seen.isEmpty());
    }

    void readerMakesSenseOfOlderFiles()
    {
        dir->write("SLItems", kHomeLine + "  ftp.b.org, pw,user,21,  Plain\r\n"
                                          "\"ftp.c\",\"a,b\",\"u\",\"2\",\"Comma\"\r\n"
                                          "ftp.d,p,u,21,home");  // no line end at the very end
        Form2 *w = settingsWindow();
        QCOMPARE(itemTexts(w->List1), (QStringList{"Home", "Plain", "Comma", "home"}));
        QCOMPARE(itemTexts(combo1.get()), itemTexts(w->List1));
        QCOMPARE(SettingList[0].HostAddress, QStringLiteral("ftp://ftp.example.org"));
        QCOMPARE(SettingList[1].HostAddress, QStringLiteral("ftp.b.org"));
        QCOMPARE(SettingList[1].Password, QStringLiteral("pw"));
        QCOMPARE(SettingList[2].Password, QStringLiteral("a,b"));
        QCOMPARE(SettingCount, qint16(4));
        // The window opens on the first setting.
        QCOMPARE(w->List1->currentRow(), 0);
        QCOMPARE(w->Text1->text(), QStringLiteral("ftp://ftp.example.org"));
        QCOMPARE(w->portValue(), QStringLiteral("21"));
        QVERIFY(w->Command3->isEnabled() && w->Command5->isEnabled());
        QVERIFY(boxes->seen.isEmpty());
    }

    void zeroByteListIsAnEmptyList()
    {
        dir->write("SLItems", QByteArray());
        Form2 *w = settingsWindow();
        QCOMPARE(w->List1->count(), 0);
        QVERIFY(!w->Command3->isEnabled() && !w->Command5->isEnabled());
        typeSetting(w, "ftp.a", "p", "u", "21", "A");
        append();
        QCOMPARE(dir->read("SLItems"), QByteArray("\"ftp.a\",\"p\",\"u\",\"21\",\"A\"\r\n"));
        QVERIFY(boxes->seen.isEmpty());
    }

    void namesAreUniqueCaseSensitively()
    {
        dir->write("SLItems", kHomeLine);
        Form2 *w = settingsWindow();
        typeSetting(w, "ftp.a", "p", "u", "21", "home");
        append();
        LoadList();
        QCOMPARE(itemTexts(w->List1), (QStringList{"Home", "home"}));
        const QByteArray before = dir->read("SLItems");
        typeSetting(w, "ftp.other", "p", "u", "21", "Home");
        append();
        QCOMPARE(boxes->texts(), QStringList{text(129)});
        QCOMPARE(boxes->seen.first().title, QStringLiteral("Corvexo"));
        QVERIFY(!boxes->seen.first().yesNo);
        QCOMPARE(dir->read("SLItems"), before);
        QCOMPARE(w->List1->count(), 2);
    }

    void hundredSettingsRefuseAnother()
    {
        dir->write("SLItems", numberedLines(100));
        Form2 *w = settingsWindow();
        QCOMPARE(w->List1->count(), 100);
        typeSetting(w, "ftp.a", "p", "u", "21", "Another");
        append();
        QCOMPARE(boxes->texts(), QStringList{text(130)});
        QCOMPARE(dir->read("SLItems"), numberedLines(100));

        // The default is saved even so.
        boxes->clear();
        CurrentSetting = {"", "ftp.a", "p", "u", "21", "Another"};
        AddDefault();
        QCOMPARE(boxes->texts(), QStringList{text(130)});
        QCOMPARE(dir->read("Sfile"), QByteArray("\"ftp.a\",\"p\",\"u\",\"21\",\"Another\"\r\n"));
        QCOMPARE(w->Text6->text(), QStringLiteral("Another"));
    }

    void rewriteKeepsOrderAndCommas()
    {
        dir->write("SLItems", "ftp.a,p,u,21,A\r\n\"ftp.b\",\"x,y\",\"u\",\"21\",\"B\"\r\n ftp.c,p,u,2,C\r\n");
        Form2 *w = settingsWindow();
        // Remove A the way the window does: the record is cleared in place and leaves the list box.
        delete w->List1->takeItem(0);
        SettingList[0] = {};
        rewrite();
        QCOMPARE(dir->read("SLItems"), QByteArray("\"ftp.b\",\"x,y\",\"u\",\"21\",\"B\"\r\n\"ftp.c\",\"p\",\"u\",\"2\",\"C\"\r\n"));
        QCOMPARE(permissionsOf("SLItems"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        LoadList();
        QCOMPARE(itemTexts(w->List1), (QStringList{"B", "C"}));
        QCOMPARE(SettingList[0].Password, QStringLiteral("x,y"));
        // A second removal and reload still yields the same names in the same order.
        delete w->List1->takeItem(1);
        SettingList[1] = {};
        rewrite();
        LoadList();
        QCOMPARE(itemTexts(combo1.get()), QStringList{"B"});
        QVERIFY(boxes->seen.isEmpty());
    }

    void rewriteReplacesAnOpenFileSafely()
    {
        dir->write("SLItems", kHomeLine);
        QFile::setPermissions(dir->filePath("SLItems"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                            QFileDevice::ReadOther | QFileDevice::ReadGroup);
        settingsWindow();
        rewrite();
        QCOMPARE(dir->read("SLItems"), kHomeLine);
        QCOMPARE(permissionsOf("SLItems"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        // No temporary file is left behind.
        QCOMPARE(QDir(dir->dataFolder()).entryList(QDir::Files), QStringList{"SLItems"});
    }

    void appendAfterALineWithoutLineEnd()
    {
        dir->write("SLItems", "ftp.a,p,u,21,A");
        Form2 *w = settingsWindow();
        typeSetting(w, "ftp.b", "p", "u", "21", "B");
        append();
        QCOMPARE(dir->read("SLItems"), QByteArray("ftp.a,p,u,21,A\r\n\"ftp.b\",\"p\",\"u\",\"21\",\"B\"\r\n"));
    }

    void doubleQuotesAreRefused()
    {
        Form2 *w = settingsWindow();
        typeSetting(w, "ftp.a", "pa\"ss", "u", "21", "A");
        append();
        QCOMPARE(boxes->texts(), QStringList{"A value with a double quote (\") or a line break cannot be saved in \"SLItems\". Nothing was saved."});
        QVERIFY(!QFile::exists(dir->filePath("SLItems")));
        QCOMPARE(w->List1->count(), 0);

        boxes->clear();
        dir->write("Sfile", kHomeLine);
        CurrentSetting = {"", "ftp.a", "\"p", "u", "21", "A"};
        SaveDefault();
        QCOMPARE(boxes->texts(), QStringList{"A value with a double quote (\") or a line break cannot be saved in \"Sfile\". Nothing was saved."});
        QCOMPARE(dir->read("Sfile"), kHomeLine);
    }

    void unreadableAndUnwritableFilesAreReported()
    {
        QVERIFY(QDir(dir->dataFolder()).mkdir("SLItems"));
        QVERIFY(QDir(dir->dataFolder()).mkdir("Sfile"));
        Form2 *w = settingsWindow();
        QCOMPARE(boxes->seen.size(), 1);
        QVERIFY2(boxes->texts().first().startsWith("Could not read \"SLItems\""), qPrintable(boxes->texts().first()));
        QCOMPARE(w->List1->count(), 0);

        boxes->clear();
        typeSetting(w, "ftp.a", "p", "u", "21", "A");
        append();
        QCOMPARE(boxes->seen.size(), 1);
        QVERIFY(boxes->texts().first().startsWith("Could not read \"SLItems\""));

        boxes->clear();
        CurrentSetting = {"", "ftp.a", "p", "u", "21", "A"};
        SaveDefault();
        QCOMPARE(boxes->seen.size(), 1);
        QVERIFY2(boxes->texts().first().startsWith("Could not save \"Sfile\""), qPrintable(boxes->texts().first()));
        QVERIFY(boxes->texts().first().contains("The file was left as it was."));

        boxes->clear();
        CurrentSetting = {};
        LoadDefault();
        QVERIFY(boxes->texts().first().startsWith("Could not read \"Sfile\""));
        QCOMPARE(CurrentSetting[1], QString());
        QVERIFY(QFileInfo(dir->filePath("Sfile")).isDir());
    }

    void shortLinesAreReportedAndTheFileKept()
    {
        const QByteArray bytes = kHomeLine + "ftp.b,p,u\r\nftp.c,p,u,21,C\r\n";
        dir->write("SLItems", bytes);
        Form2 *w = settingsWindow();
        QCOMPARE(boxes->texts(), QStringList{"Line(s) 2 of \"SLItems\" do not hold five fields and were skipped. "
                                             "The file was left as it is."});
        QCOMPARE(itemTexts(w->List1), (QStringList{"Home", "C"}));
        boxes->clear();
        QVERIFY(!listFileCanBeRewritten());
        rewrite();
        QCOMPARE(boxes->texts(), (QStringList{"\"SLItems\" could not be read in full, so it is not rewritten. "
                                              "Please correct or delete the file.",
                                              "\"SLItems\" could not be read in full, so it is not rewritten. "
                                              "Please correct or delete the file."}));
        QCOMPARE(dir->read("SLItems"), bytes);

        boxes->clear();
        dir->write("Sfile", "\"ftp.a\",\"p\"\r\n");
        CurrentSetting = {"", "ftp.keep", "", "", "", ""};
        LoadDefault();
        QCOMPARE(boxes->texts(), QStringList{"\"Sfile\" does not hold a line of five fields and was not read. "
                                             "The file was left as it is."});
        QCOMPARE(CurrentSetting[1], QStringLiteral("ftp.keep"));
    }

    void moreThan101RecordsAreReported()
    {
        dir->write("SLItems", numberedLines(101));
        Form2 *w = settingsWindow();
        QCOMPARE(w->List1->count(), 101);
        QVERIFY(boxes->seen.isEmpty());
        QVERIFY(listFileCanBeRewritten());

        dir->write("SLItems", numberedLines(104));
        LoadList();
        QCOMPARE(w->List1->count(), 101);
        QCOMPARE(SettingList[100].SettingName, QStringLiteral("N100"));
        QCOMPARE(boxes->texts(), QStringList{"\"SLItems\" holds too many settings: only the first 101 were read, "
                                             "3 were not. The file was left as it is."});
        rewrite();
        QCOMPARE(dir->read("SLItems"), numberedLines(104));
    }

    void defaultRulesAskInOrder()
    {
        dir->write("SLItems", kHomeLine);
        Form2 *w = settingsWindow();
        // Name missing from the list: question 131; No does nothing.
        typeSetting(w, "ftp.a", "p", "u", "21", "New");
        CheckDefault();
        QCOMPARE(boxes->texts(), QStringList{text(131)});
        QVERIFY(boxes->seen.first().yesNo);
        QVERIFY(!QFile::exists(dir->filePath("Sfile")));

        // Yes: no default yet, so question 132; No brings information 133; the
        // default is saved either way, and the setting is appended.
        boxes->clear();
        boxes->answers = {true, false};
        CurrentSetting = {"", "ftp.a", "p", "u", "21", "New"};
        CheckDefault();
        QCOMPARE(boxes->texts(), (QStringList{text(131), text(132), text(133)}));
        QCOMPARE(dir->read("Sfile"), QByteArray("\"ftp.a\",\"p\",\"u\",\"21\",\"New\"\r\n"));
        QCOMPARE(itemTexts(w->List1), (QStringList{"Home", "New"}));
        QCOMPARE(w->Text6->text(), QStringLiteral("New"));

        // A default exists: the name in the list changes nothing.
        boxes->clear();
        typeSetting(w, "ftp.example.org", "secret", "anonymous", "21", "Home");
        CurrentSetting = {"", "ftp.example.org", "secret", "anonymous", "21", "Home"};
        bool toDefault = true;
        ShowSettings(toDefault);
        QVERIFY(!toDefault);
        QVERIFY(boxes->seen.isEmpty());
        QCOMPARE(dir->read("Sfile"), QByteArray("\"ftp.a\",\"p\",\"u\",\"21\",\"New\"\r\n"));
    }
};

QTEST_MAIN(SettingsFilesTest)
#include "tst_settings_files.moc"
