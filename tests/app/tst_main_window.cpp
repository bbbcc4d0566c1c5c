// The main window itself: its idle, busy and ready states, Exit, the click
// animation on a clock in the test's hand, and its texts in both languages.
#include "app/about_window.h"
#include "app/picture_box.h"
#include "app/strings/string_table.h"
#include "remote_ops/name_dialog.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QToolBar>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {
// The enabled ones of the group that the command states switch.
QString group(const Form1 &w)
{
    const std::pair<const char *, bool> items[] = {
        {"con", w.con->isEnabled()}, {"Discon", w.Discon->isEnabled()}, {"Refr", w.Refr->isEnabled()},
        {"edit", w.edit->menuAction()->isEnabled()}, {"help", w.help->menuAction()->isEnabled()},
        {"Combo1", w.Combo1->isEnabled()}, {"ListView2", w.ListView2->isEnabled()}, {"b1", w.toolbarButton(1)->isEnabled()},
        {"b2", w.toolbarButton(2)->isEnabled()}, {"b3", w.toolbarButton(3)->isEnabled()},
        {"b5", w.toolbarButton(5)->isEnabled()}, {"b6", w.toolbarButton(6)->isEnabled()}, {"b7", w.toolbarButton(7)->isEnabled()}};
    QStringList on;
    for (const auto &[name, enabled] : items)
        if (enabled) on << QString::fromLatin1(name);
    return on.join(u' ');
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextNumberHasBothLanguages()
    {
        for (int n = 101; n <= 213; ++n)
            for (UiLanguage lang : {UiLanguage::English, UiLanguage::Japanese})
                QVERIFY2(textIn(lang, n).isEmpty() == (n == 102), qPrintable(QString::number(n)));
    }

    void commandStatesFromIdleThroughAnErrorToReady()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));
        WindowFixture::useSetting("ftp.example.org", "", "", "");
        w.con->trigger();
        f.inet->report({1, 2, 3});
        QCOMPARE(group(w), QString());
        f.inet->fail(530, "Login incorrect.");
        QCOMPARE(group(w), QStringLiteral("con Combo1 b1 b7"));  // Edit and Help stay off after busy
        QVERIFY(w.Sett->isEnabled());
        w.con->trigger();
        f.inet->completeWithAnswer("pub/\r\nreadme.txt");
        QCOMPARE(group(w), QStringLiteral("con Discon Refr edit help Combo1 ListView2 b1 b2 b3 b7"));
        w.Discon->trigger();
        QCOMPARE(group(w), QStringLiteral("con edit help Combo1 b1 b7"));
    }

    void exitDisconnectsRemembersTheFolderAndUnloadsInOrder()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        w.show();
        f.connectWithListing("a.txt");
        w.Sett->trigger();
        w.nameDialog();
        w.Corvexo->trigger();
        QStringList gone;
        const std::pair<QObject *, const char *> windows[] = {
            {existingSettingsWindow(), "Form2"}, {w.form3.data(), "Form3"}, {w.form4.data(), "Form4"}};
        for (const auto &[window, name] : windows)
            connect(window, &QObject::destroyed, &w, [&gone, &f, name = QString::fromLatin1(name)] {
                gone << name + (f.inet->cancelCount > 0 && f.data.read("childpf").size() ? " after" : " before");
            });
        w.close();
        QCOMPARE(gone, (QStringList{"Form2 after", "Form3 after", "Form4 after"}));
        QVERIFY(!w.Connected && !w.isVisible());
        QCOMPARE(w.statusText(), QStringLiteral("Connection is stopped."));
        QCOMPARE(f.data.read("childpf"), QDir::currentPath().toUtf8() + "\r\n");
    }

    void clickAnimationKeepsItsSchedule()
    {
        WindowFixture f;
        Form1 &w = *f.window;
        double now = 1000.0;
        w.animationClock = [&now] { return now; };
        w.show();
        QSignalSpy shown(w.Picture1, &PictureBox::pictureShown);
        const auto tickAt = [&](double time) {
            shown.clear();
            now = time;
            w.Timer1_Timer();
            QList<int> frames;
            for (const QList<QVariant> &signal : std::as_const(shown)) {
                const QString name = QFileInfo(signal.at(0).toString()).fileName();
                frames << name.mid(5, name.size() - 9).toInt();
            }
            return frames;
        };
        w.Picture1_Click();
        QCOMPARE(tickAt(1000.999), QList<int>{});
        QCOMPARE(tickAt(1001.0), (QList<int>{4, 5, 6}));
        for (int frame = 7; frame <= 11; ++frame) QCOMPARE(tickAt(995.0 + frame), QList<int>{frame});
        QCOMPARE(tickAt(1006.99), QList<int>{});
        QVERIFY(!w.form4);
        QCOMPARE(tickAt(1007.0), (QList<int>{12, 13, 14, 15, 16, 17, 18, 19, 20, 2}));
        QVERIFY(w.form4 && w.form4->isVisible() && !w.Timer1->isActive());

        w.Picture1_Click();  // played again, then stopped by Exit
        tickAt(1008.0);
        w.ExitApp_Click();
        QVERIFY(!w.animationPlaying() && !w.Timer1->isActive());
        QCOMPARE(tickAt(1020.0), QList<int>{});
        QTest::qWait(30);
        for (QWidget *top : QApplication::topLevelWidgets()) QVERIFY2(!top->isVisible(), top->metaObject()->className());
    }

    void menusInJapanese()
    {
        if (uiLanguage() != UiLanguage::Japanese) QSKIP("runs again under LANG=ja_JP.UTF-8");
        WindowFixture f;
        Form1 &w = *f.window;
        const std::pair<QString, int> texts[] = {{w.Connection->title(), 190}, {w.edit->title(), 194},
            {w.help->title(), 203}, {w.con->text(), 192}, {w.Fdelete->text(), 201}, {w.Label1->text(), 188}};
        for (const auto &[shown, number] : texts) QCOMPARE(shown, textIn(UiLanguage::Japanese, number));
        QVERIFY(w.con->text() != textIn(UiLanguage::English, 192));
        w.show();
        QTest::mouseClick(w.Toolbar1->widgetForAction(w.toolbarButton(2)), Qt::LeftButton);
        QCOMPARE(w.toolbarButton(7)->toolTip(), textIn(UiLanguage::Japanese, 211));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
