// The click animation on the real window with its clock in the test's hand,
// and the about window it ends with.
#include "app/about_window.h"
#include "app/click_animation_steps.h"
#include "app/data_files.h"
#include "app/main_window.h"
#include "app/picture_box.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QDesktopServices>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace corvexo;

namespace {

class LinkRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

struct AnimatedWindow {
    testing::TestDataDir data;
    std::unique_ptr<Form1> window = std::make_unique<Form1>(new testing::ScriptedTransferControl);
    double now = 1000.0;
    QSignalSpy shown{window->Picture1, &PictureBox::pictureShown};
    AnimatedWindow()
    {
        window->animationClock = [this] { return now; };
        window->show();
    }
    // The frames shown since the last call, by number.
    QList<int> framesShown()
    {
        QList<int> frames;
        for (const QList<QVariant> &signal : std::as_const(shown)) {
            const QString name = QFileInfo(signal.at(0).toString()).fileName();
            frames << name.mid(5, name.size() - 9).toInt();
        }
        shown.clear();
        return frames;
    }
    QList<int> tickAt(double time)
    {
        now = time;
        window->Timer1_Timer();
        return framesShown();
    }
    bool aboutShown() const { return window->form4 && window->form4->isVisible(); }
};

const QList<int> kFlashFrames = {12, 13, 14, 15, 16, 17, 18, 19, 20, 2};

void sendEscape(QWidget *widget)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

void moveAndClick(QWidget *widget)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(3, 3));
}

} // namespace

class ClickAnimationTest : public QObject {
    Q_OBJECT
private slots:
    void oneClickPlaysTheSchedule()
    {
        AnimatedWindow a;
        Form1 &w = *a.window;
        w.Picture1_Click();
        QCOMPARE(a.framesShown(), QList<int>{3});
        QVERIFY(w.Timer1->isActive());
        QCOMPARE(w.PauseTime, 1);
        QCOMPARE(w.StartTime, 1000.0);
        QCOMPARE(a.tickAt(1000.999), QList<int>{});
        QCOMPARE(a.tickAt(1001.0), (QList<int>{4, 5, 6}));
        QCOMPARE(a.tickAt(1001.5), QList<int>{});
        for (int frame = 7; frame <= 11; ++frame) {
            QCOMPARE(a.tickAt(1000.0 + frame - 5), QList<int>{frame});
            QVERIFY(!a.aboutShown());
        }
        QCOMPARE(a.tickAt(1006.99), QList<int>{});
        QCOMPARE(a.tickAt(1007.0), kFlashFrames);
        QVERIFY(w.Picture1->shownFile().endsWith(QStringLiteral("/pyufr2.gif")));
        QVERIFY(!w.Timer1->isActive());
        QVERIFY(!w.animationPlaying());
        QVERIFY(a.aboutShown());
        QVERIFY(!w.form4->isModal());
        QCOMPARE(a.tickAt(1020.0), QList<int>{});
    }

    void secondClickPlaysInsideTheFirst()
    {
        AnimatedWindow a;
        Form1 &w = *a.window;
        w.Picture1_Click();
        a.tickAt(1001.0);
        QCOMPARE(a.tickAt(1002.0), QList<int>{7});
        a.now = 1002.5;
        w.Picture1_Click();
        QCOMPARE(a.framesShown(), QList<int>{3});
        QCOMPARE(a.tickAt(1003.0), QList<int>{});  // the inner run's wait, not the outer one's
        QCOMPARE(a.tickAt(1003.5), (QList<int>{4, 5, 6}));
        for (int frame = 7; frame <= 11; ++frame) QCOMPARE(a.tickAt(997.5 + frame), QList<int>{frame});
        QCOMPARE(a.tickAt(1009.5), kFlashFrames);
        QVERIFY(a.aboutShown());
        QPointer<Form4> first = w.form4;
        sendEscape(first);
        QTRY_VERIFY(!first);

        // The first run goes on from frame 8, one second after the inner run's last wait.
        QVERIFY(w.animationPlaying());
        QVERIFY(w.Timer1->isActive());
        QCOMPARE(a.tickAt(1010.4), QList<int>{});
        for (int frame = 8; frame <= 11; ++frame) QCOMPARE(a.tickAt(1002.5 + frame), QList<int>{frame});
        QVERIFY(!a.aboutShown());
        QCOMPARE(a.tickAt(1014.5), kFlashFrames);
        QVERIFY(a.aboutShown());
        QVERIFY(!w.Timer1->isActive());
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *t) { return qobject_cast<Form4 *>(t); }), 1);
    }

    void missingOrUnreadableFrameKeepsThePicture()
    {
        AnimatedWindow a;
        Form1 &w = *a.window;
        QTemporaryDir frames;
        for (int n = 2; n <= 20; ++n) {
            if (n == 6) continue;
            const QString name = animationFrameName(n);
            QVERIFY(QFile::copy(resourceFilePath(name), frames.filePath(name)));
        }
        QFile broken(frames.filePath(animationFrameName(7)));
        QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write("GIF89a not really");
        broken.close();
        w.animationFrameFolder = frames.path();

        w.Picture1_Click();
        QCOMPARE(a.tickAt(1001.0), (QList<int>{3, 4, 5}));
        QCOMPARE(w.Picture1->shownFile(), frames.filePath(animationFrameName(5)));
        QCOMPARE(a.tickAt(1002.0), QList<int>{});
        QVERIFY(!w.Picture1->pixmap().isNull());
        QCOMPARE(w.Picture1->shownFile(), frames.filePath(animationFrameName(5)));
        QCOMPARE(a.tickAt(1003.0), QList<int>{8});
        a.tickAt(1007.0);
        QVERIFY(a.aboutShown());
    }

    void closingTheWindowEndsTheAnimation()
    {
        AnimatedWindow a;
        Form1 &w = *a.window;
        w.Picture1_Click();
        a.tickAt(1001.0);
        w.close();
        QVERIFY(!w.isVisible());
        QVERIFY(!w.animationPlaying());
        QVERIFY(!w.Timer1->isActive());
        QCOMPARE(a.tickAt(1010.0), QList<int>{});
        QTest::qWait(30);
        QVERIFY(!w.form4);
        QVERIFY(!w.isVisible());
        for (QWidget *top : QApplication::topLevelWidgets()) QVERIFY2(!top->isVisible(), top->metaObject()->className());
    }

    void windowStaysUsableWhilePlaying()
    {
        // The real clock: a click returns at once and the window goes on handling events.
        testing::TestDataDir data;
        Form1 w(new testing::ScriptedTransferControl);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::mouseClick(w.Picture1, Qt::LeftButton);
        QVERIFY(w.animationPlaying());
        QTest::qWait(20);
        w.Corvexo->trigger();
        QVERIFY(w.form4 && w.form4->isVisible());
        QVERIFY(w.animationPlaying());
        QPointer<Form4> about = w.form4;
        w.close();
        QVERIFY(!about);
    }

    void aboutWindowContent()
    {
        testing::TestDataDir data;
        Form1 w(new testing::ScriptedTransferControl);
        w.Corvexo_Click();
        Form4 *about = w.form4;
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About Corvexo..."));
        QCOMPARE(about->size(), QSize(199, 97));
        QCOMPARE(about->Label1->text(), QStringLiteral("Corvexo1.0 Beta2\r\nVersion: 1.0"));
        QVERIFY(about->Label3->text().startsWith(QStringLiteral("More information: ")));
        QVERIFY(about->Label3->text().endsWith(QStringLiteral("...")));
        QVERIFY(about->Label2->text().contains(QStringLiteral("Pell")));
        struct Look { QLabel *label; QString family; qreal points; bool bold; QRect place; };
        const Look looks[] = {{about->Label1, QStringLiteral("Arial"), 8.25, true, {32, 16, 145, 25}},
                              {about->Label2, QStringLiteral("Century"), 8.25, false, {32, 40, 137, 17}},
                              {about->Label3, QStringLiteral("Tahoma"), 7.5, true, {32, 56, 145, 25}}};
        for (const Look &look : looks) {
            QCOMPARE(look.label->font().family(), look.family);
            QCOMPARE(look.label->font().pointSizeF(), look.points);
            QCOMPARE(look.label->font().bold(), look.bold);
            // A label may grow downwards so that its text shows whole.
            QCOMPARE(look.label->geometry().adjusted(0, 0, 0, look.place.height() - look.label->height()), look.place);
            QVERIFY(look.label->height() >= look.label->heightForWidth(look.label->width()));
            QVERIFY(!look.label->autoFillBackground());
        }
        QCOMPARE(about->Label2->palette().color(QPalette::WindowText), QColor(255, 192, 192));
        QCOMPARE(about->Label3->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(QImage(resourceFilePath(QStringLiteral("about.gif"))).size(), QSize(200, 100));

        // One window, whoever opens it.
        w.Corvexo_Click();
        QCOMPARE(w.form4.data(), about);
        QCOMPARE(w.findChildren<Form4 *>().size(), 1);
    }

    void linksGoToTheDesktop()
    {
        testing::TestDataDir data;
        Form1 w(new testing::ScriptedTransferControl);
        w.Corvexo_Click();
        Form4 *about = w.form4;
        LinkRecorder recorder;
        for (const char *scheme : {"mailto", "https", "http"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
        QVERIFY(about->Label2->toolTip().isEmpty());

        moveAndClick(about->Label2);
        QCOMPARE(about->Label2->toolTip(), QStringLiteral("Mail to Pell"));
        QCOMPARE(about->Label2->cursor().shape(), Qt::PointingHandCursor);
        moveAndClick(about->Label3);
        QCOMPARE(about->Label3->toolTip(), QStringLiteral("Go to Pell's site"));
        QCOMPARE(about->Label3->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(about->Label1->toolTip().isEmpty());
        QCOMPARE(about->Label1->cursor().shape(), Qt::ArrowCursor);

        QCOMPARE(recorder.opened.size(), 2);
        QCOMPARE(recorder.opened.at(0).scheme(), QStringLiteral("mailto"));
        QCOMPARE(recorder.opened.at(0), Form4::mailTarget());
        QCOMPARE(recorder.opened.at(1), Form4::webTarget());
        QVERIFY(about->Label3->text().contains(Form4::webTarget().toString().left(15)));
        QVERIFY(w.form4);
        for (const char *scheme : {"mailto", "https", "http"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    void escapeClosesOnlyTheAboutWindow()
    {
        testing::TestDataDir data;
        Form1 w(new testing::ScriptedTransferControl);
        w.show();
        w.Corvexo_Click();
        QPointer<Form4> about = w.form4;
        sendEscape(&w);
        QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
        QApplication::sendEvent(about, &other);
        QTest::qWait(10);
        QVERIFY(about && about->isVisible());
        sendEscape(about);
        QTRY_VERIFY(!about);
        QVERIFY(w.isVisible());
        // The next opening makes it anew and loads it again.
        w.Corvexo_Click();
        QVERIFY(w.form4 && w.form4->isVisible());
        QCOMPARE(w.form4->Label1->text(), QStringLiteral("Corvexo1.0 Beta2\r\nVersion: 1.0"));
    }
};

QTEST_MAIN(ClickAnimationTest)
#include "tst_click_animation.moc"
