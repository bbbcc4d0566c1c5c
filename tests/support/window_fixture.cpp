#include "window_fixture.h"
#include "support/ftp_test_server.h"
#include "app/strings/string_table.h"
#include "settings/settings_store.h"
#include "settings/settings_window.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

namespace corvexo::testing {

void resetSettingsStore()
{
    unloadSettingsWindow();
    CurrentSetting = {};
    SettingList.fill({});
    SettingBuffer.fill({});
    SettingCount = 0;
}

void typeSetting(Form2 *w, const QString &host, const QString &password, const QString &user,
                 const QString &port, const QString &name)
{
    w->Text1->setText(host);
    w->Text4->setText(password);
    w->Text3->setText(user);
    w->MaskEdBox1->setText(port);
    w->Text5->setText(name);
}

WindowFixture::WindowFixture(Start when)
{
    resetSettingsStore();
    setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
        boxes << request;
        if (!request.yesNo) return MessageBoxAnswer::Ok;
        return !answers.isEmpty() && answers.takeFirst() ? MessageBoxAnswer::Yes : MessageBoxAnswer::No;
    });
    if (when == Start::Now) start();
}

WindowFixture::~WindowFixture()
{
    window.reset();
    resetSettingsStore();
    setMessageBoxAnswerer({});
}

Form1 &WindowFixture::start(TransferControl *control)
{
    if (!control) control = inet = new ScriptedTransferControl;
    window = std::make_unique<Form1>(control);
    return *window;
}

QStringList WindowFixture::texts() const
{
    QStringList out;
    for (const MessageBoxRequest &box : boxes) out << box.text;
    return out;
}

void WindowFixture::useSetting(const QString &host, const QString &password, const QString &user,
                               const QString &port, const QString &name)
{
    CurrentSetting = {QString(), host, password, user, port, name};
}

void WindowFixture::useServer(const FtpTestServer &server)
{
    useSetting(QStringLiteral("127.0.0.1"), server.password(), server.user(), QString::number(server.port()));
}

void WindowFixture::connectWithListing(const QByteArray &listing)
{
    if (CurrentSetting[1].isEmpty()) useSetting(QStringLiteral("ftp.test"), QStringLiteral("pw"), QStringLiteral("joe"), QString());
    window->Connect();
    inet->report({1, 2, 3, 4});
    inet->completeWithAnswer(listing);
}

bool WindowFixture::settle(int timeoutMs)
{
    return QTest::qWaitFor([this] {
        const Form1 &w = *window;
        const bool waiting = w.ListWait || w.CdWait || w.PutWait || w.RenWait || w.DelWait || w.MkdWait || w.GetWait;
        return !w.Connected || (!w.Inet1->stillExecuting() && !waiting && w.windowTitle() == text(166));
    }, timeoutMs);
}

QStringList WindowFixture::entries(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

QStringList WindowFixture::entries(const FileListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->entryText(i);
    return out;
}

void WindowFixture::select(FileListWidget *list, const QString &text)
{
    QVERIFY2(list->selectEntry(text), qPrintable(text + " is not listed"));
}

void WindowFixture::click(FileListWidget *list, const QString &text, Qt::MouseButton button)
{
    const int row = list->rowOf(text);
    QVERIFY2(row >= 0, qPrintable(text + " is not listed"));
    list->scrollTo(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), button, {}, list->entryRect(row).center());
}

void WindowFixture::dropOn(FileListWidget *list)
{
    QMimeData mime;
    mime.setText(QStringLiteral("whatever was dragged"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
}

QString WindowFixture::availability() const
{
    const Form1 &w = *window;
    QString out;
    for (QAction *a : {w.UpL, w.DownL, w.CupD, w.Refr, w.FrDRname, w.FMkD, w.Fdelete, w.toolbarButton(5),
                       w.toolbarButton(6)})
        out += a->isEnabled() ? u'1' : u'0';
    return out;
}

} // namespace corvexo::testing
