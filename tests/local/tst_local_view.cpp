// The left pane of the main window on the offscreen platform: the start folder
// and the remembered one, the path box, the drive box, the local list's events.
#include "app/file_list_widget.h"
#include "app/main_window.h"
#include "app/message_box.h"
#include "local/folder_box.h"
#include "local/local_messages.h"
#include "support/scripted_transfer_control.h"
#include "support/test_data_dir.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace corvexo;
using corvexo::testing::ScriptedTransferControl;
using corvexo::testing::TestDataDir;

namespace {

QStringList entryTexts(const QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) texts << list->item(row)->text();
    return texts;
}

void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class LocalViewTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestDataDir> data;
    std::unique_ptr<QTemporaryDir> disk;  // the local files the view is shown
    QString startFolder;
    QList<MessageBoxRequest> messages;
    QString previousCurrent;

    QString folder(const QString &relative) const { return disk->filePath(relative); }
    void makeFolder(const QString &relative) { QVERIFY(QDir().mkpath(folder(relative))); }

    std::unique_ptr<Form1> startWindow()
    {
        auto window = std::make_unique<Form1>(new ScriptedTransferControl);
        return window;
    }
    QByteArray childpf() const { return data->read(QStringLiteral("childpf")); }

private slots:
    void init()
    {
        data = std::make_unique<TestDataDir>();
        disk = std::make_unique<QTemporaryDir>();
        startFolder = folder(QStringLiteral("start"));
        makeFolder(QStringLiteral("start"));
        touch(folder(QStringLiteral("start/b.txt")));
        touch(folder(QStringLiteral("start/a.gif")));
        touch(folder(QStringLiteral("start/.hidden")));
        makeFolder(QStringLiteral("start/sub"));
        previousCurrent = QDir::currentPath();
        QDir::setCurrent(startFolder);
        messages.clear();
        setMessageBoxAnswerer([this](const MessageBoxRequest &request) {
            messages << request;
            return request.yesNo ? MessageBoxAnswer::No : MessageBoxAnswer::Ok;
        });
    }

    void cleanup()
    {
        setMessageBoxAnswerer({});
        QDir::setCurrent(previousCurrent);
        disk.reset();
        data.reset();
    }

    void firstStartShowsTheStartFolderAndExitRemembersIt()
    {
        QVERIFY(!QFile::exists(data->filePath(QStringLiteral("childpf"))));
        auto window = startWindow();
        QCOMPARE(window->File1Path, startFolder);
        QCOMPARE(window->Dir1->path(), startFolder);
        QCOMPARE(window->Text1->text(), startFolder);
        QCOMPARE(entryTexts(window->ListView1), (QStringList{"a.gif", "b.txt"}));
        QCOMPARE(window->Drive1->itemText(0), QStringLiteral("/"));
        QCOMPARE(window->StartPath, QString());
        window->ExitApp_Click();
        QCOMPARE(childpf(), startFolder.toUtf8() + "\r\n");
        QVERIFY(messages.isEmpty());
    }

    void deletedRememberedFolderIsIgnoredAndOverwritten()
    {
        data->write(QStringLiteral("childpf"), folder(QStringLiteral("gone")).toUtf8() + "\r\n");
        auto window = startWindow();
        QCOMPARE(window->StartPath, QString());
        QCOMPARE(window->File1Path, startFolder);
        QCOMPARE(window->statusText(), QString());
        window->ExitApp_Click();
        QCOMPARE(childpf(), startFolder.toUtf8() + "\r\n");
    }

    void rememberedPathWithCommaIsReadUpToTheComma()
    {
        makeFolder(QStringLiteral("a,b"));
        data->write(QStringLiteral("childpf"), folder(QStringLiteral("a,b")).toUtf8() + "\r\n");
        {
            auto window = startWindow();  // "a" does not exist: the start folder stays
            QCOMPARE(window->LPath, folder(QStringLiteral("a")));
            QCOMPARE(window->File1Path, startFolder);
        }
        makeFolder(QStringLiteral("a"));
        touch(folder(QStringLiteral("a/in-a.txt")));
        auto window = startWindow();
        QCOMPARE(window->StartPath, folder(QStringLiteral("a")));
        QCOMPARE(window->File1Path, folder(QStringLiteral("a")));
        QCOMPARE(window->Text1->text(), folder(QStringLiteral("a")));
        QCOMPARE(entryTexts(window->ListView1), QStringList{"in-a.txt"});
    }

    void pathBoxMovesOnEnter()
    {
        makeFolder(QStringLiteral("typed"));
        touch(folder(QStringLiteral("typed/t.htm")));
        auto window = startWindow();
        const int drive = window->Drive1->currentIndex();
        window->Text1->setText(folder(QStringLiteral("typed")));
        QTest::keyClick(window->Text1, Qt::Key_A);  // any other key does nothing special
        QCOMPARE(window->File1Path, startFolder);
        window->Text1->setText(folder(QStringLiteral("typed")));
        QTest::keyClick(window->Text1, Qt::Key_Return);
        QCOMPARE(window->File1Path, folder(QStringLiteral("typed")));
        QCOMPARE(entryTexts(window->ListView1), QStringList{"t.htm"});
        QCOMPARE(window->Drive1->currentIndex(), drive);  // the drive box is not moved
        window->Text1->setText(QStringLiteral("../start/sub"));  // relative to the folder shown
        QTest::keyClick(window->Text1, Qt::Key_Return);
        QCOMPARE(window->File1Path, folder(QStringLiteral("start/sub")));
        QCOMPARE(window->ListView1->count(), 0);  // an empty folder lists nothing
    }

    void pathBoxRefusesWhatIsNotAFolder()
    {
        auto window = startWindow();
        const QString missing = folder(QStringLiteral("missing"));
        window->Text1->setText(missing);
        QTest::keyClick(window->Text1, Qt::Key_Return);
        QCOMPARE(window->File1Path, startFolder);
        QCOMPARE(window->Text1->text(), startFolder);
        QCOMPARE(window->statusText(), folderMissingText(missing, startFolder));
        QCOMPARE(window->statusText(),
                 QStringLiteral("The folder %1 does not exist. Still showing %2.").arg(missing, startFolder));
        QCOMPARE(entryTexts(window->ListView1), (QStringList{"a.gif", "b.txt"}));

        const QString file = folder(QStringLiteral("start/b.txt"));
        window->Text1->setText(file);
        QTest::keyClick(window->Text1, Qt::Key_Enter);
        QCOMPARE(window->File1Path, startFolder);
        QCOMPARE(window->statusText(), QStringLiteral("%1 is not a folder. Still showing %2.").arg(file, startFolder));
        QVERIFY(messages.isEmpty());
    }

    void driveBoxMovesToTheDriveOrKeepsTheFolder()
    {
        auto window = startWindow();
        const int shown = window->Drive1->currentIndex();
        const QString bogus = folder(QStringLiteral("no-medium"));
        window->Drive1->addItem(bogus, bogus);
        window->Drive1->setCurrentIndex(window->Drive1->count() - 1);
        QCOMPARE(window->File1Path, startFolder);
        QCOMPARE(window->Drive1->currentIndex(), shown);
        QCOMPARE(window->statusText(),
                 QStringLiteral("The drive %1 cannot be read. Still showing %2.").arg(bogus, startFolder));

        const QString mounted = folder(QStringLiteral("start/sub"));
        window->Drive1->addItem(mounted, mounted);
        window->Drive1->setCurrentIndex(window->Drive1->count() - 1);
        QCOMPARE(window->File1Path, mounted);
        QCOMPARE(window->Drive1Shown, window->Drive1->count() - 1);
    }

    void unwritableOrUnreadableChildpfIsReportedNotFatal()
    {
        QVERIFY(QDir().mkpath(data->filePath(QStringLiteral("childpf"))));  // a folder stands in the way
        auto window = startWindow();
        QCOMPARE(window->statusText(), QStringLiteral("The remembered local folder could not be read."));
        QCOMPARE(window->File1Path, startFolder);
        window->unPathF();
        QCOMPARE(messages.last().text, QStringLiteral("Could not save \"childpf\" (Is a directory). The file was left as it was.\r\n")
                                           + data->filePath(QStringLiteral("childpf")));
        QVERIFY(QFileInfo(data->filePath(QStringLiteral("childpf"))).isDir());
    }

    void clickingTheLocalListUnselectsTheRemoteEntry()
    {
        auto window = startWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->ListView2->setEnabled(true);
        window->ListView2->addItems({"../", "remote.txt"});
        window->ListView2->setCurrentRow(1);
        QVERIFY(window->ListView2->currentEntrySelected());
        const QRect first = window->ListView1->visualItemRect(window->ListView1->item(0));
        QTest::mouseClick(window->ListView1->viewport(), Qt::LeftButton, {}, first.center());
        QVERIFY(!window->ListView2->currentEntrySelected());
        QCOMPARE(window->ListView2->currentRow(), 1);  // it stays the current entry
        QCOMPARE(window->ListView1->currentRow(), 0);
        QVERIFY(!window->LMouseDown);
    }

};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    LocalViewTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_local_view.moc"
