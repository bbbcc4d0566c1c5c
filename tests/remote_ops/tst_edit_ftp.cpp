// Rename, folder creation and deletion against a real FTP server: each change
// is seen in the remote list after the folder was listed again, and on disk.

#include "connection/ftp/ftp_transfer_control.h"
#include "settings/settings_store.h"
#include "support/ftp_test_server.h"
#include "tst_edit_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

constexpr int kNetworkTimeout = 20000;

QStringList remoteEntries(const Form1 &window)
{
    QStringList out;
    for (int i = 0; i < window.ListView2->count(); ++i) out << window.ListView2->item(i)->text();
    return out;
}

bool idleAfterListing(const Form1 &window)
{
    return !window.Inet1->stillExecuting() && !window.RenWait && !window.DelWait && !window.MkdWait
           && !window.CdWait && !window.ListWait && window.windowTitle() == QStringLiteral("Completed.");
}

} // namespace

class EditFtpTest : public QObject {
    Q_OBJECT
private:
    FtpTestServer server_;
    std::unique_ptr<TestDataDir> data_;
    std::unique_ptr<Form1> window_;
    QStringList messages_;

    Form1 &w() { return *window_; }

    void select(const QString &entry)
    {
        const auto found = w().ListView2->findItems(entry, Qt::MatchExactly);
        QVERIFY2(!found.isEmpty(), qPrintable(entry + " not listed: " + remoteEntries(w()).join(u'|')));
        w().ListView2->setFocus();
        w().ListView2->setCurrentItem(found.first());
        found.first()->setSelected(true);
    }

    void nameAndOk(const QString &name)
    {
        QVERIFY(w().form3 && w().form3->isVisible());
        QTest::keyClicks(w().form3->Text1, name);
        QTest::keyClick(w().form3->Text1, Qt::Key_Return);
    }

    void waitForListing()
    {
        QTRY_VERIFY_WITH_TIMEOUT(idleAfterListing(w()), kNetworkTimeout);
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.join(u'\n')));
    }

private slots:
    void init()
    {
        QVERIFY2(server_.start(), qPrintable(server_.errorText()));
        QVERIFY(server_.writeFile(QStringLiteral("a.txt"), "alpha"));
        QVERIFY(server_.writeFile(QStringLiteral("pub/inside.txt"), "in"));
        QVERIFY(server_.makeFolder(QStringLiteral("empty")));
        data_ = std::make_unique<TestDataDir>();
        messages_.clear();
        setMessageBoxAnswerer([this](const MessageBoxRequest &r) {
            messages_ << r.text;
            return MessageBoxAnswer::Ok;
        });
        CurrentSetting[1] = QStringLiteral("127.0.0.1");
        CurrentSetting[2] = server_.password();
        CurrentSetting[3] = server_.user();
        CurrentSetting[4] = QString::number(server_.port());
        CurrentSetting[5] = QStringLiteral("test");
        window_ = std::make_unique<Form1>(new FtpTransferControl);
        window_->show();
        window_->con_Click();
        waitForListing();
        QVERIFY(remoteEntries(w()).contains(QStringLiteral("a.txt")));
    }

    void cleanup()
    {
        if (window_ && window_->Connected) window_->Discon_Click();
        window_.reset();
        data_.reset();
        setMessageBoxAnswerer({});
        server_.stop();
    }

    void renameAFileToANameWithBlanks()
    {
        select(QStringLiteral("a.txt"));
        w().FrDRname->trigger();
        nameAndOk(QStringLiteral("my new file.txt"));
        waitForListing();
        const QStringList entries = remoteEntries(w());
        QVERIFY2(entries.contains(QStringLiteral("my new file.txt")), qPrintable(entries.join(u'|')));
        QVERIFY(!entries.contains(QStringLiteral("a.txt")));
        QCOMPARE(server_.readFile(QStringLiteral("my new file.txt")), QByteArray("alpha"));
    }

    void renameAFolder()
    {
        select(QStringLiteral("pub/"));
        w().FrDRname_Click();
        nameAndOk(QStringLiteral("public"));
        waitForListing();
        const QStringList entries = remoteEntries(w());
        QVERIFY2(entries.contains(QStringLiteral("public/")), qPrintable(entries.join(u'|')));
        QVERIFY(!entries.contains(QStringLiteral("pub/")));
        QVERIFY(QFileInfo::exists(server_.pathOf(QStringLiteral("public/inside.txt"))));
    }

    void createAFolder()
    {
        w().FMkD->trigger();
        nameAndOk(QStringLiteral("new dir"));
        waitForListing();
        QVERIFY2(remoteEntries(w()).contains(QStringLiteral("new dir/")), qPrintable(remoteEntries(w()).join(u'|')));
        QVERIFY(QFileInfo(server_.pathOf(QStringLiteral("new dir"))).isDir());
    }

    void deleteAFileAndAnEmptyFolder()
    {
        select(QStringLiteral("a.txt"));
        QTest::keyClick(w().ListView2, Qt::Key_Delete);
        waitForListing();
        QVERIFY(!remoteEntries(w()).contains(QStringLiteral("a.txt")));
        QVERIFY(!QFileInfo::exists(server_.pathOf(QStringLiteral("a.txt"))));

        select(QStringLiteral("empty/"));
        w().Fdelete->trigger();
        waitForListing();
        QVERIFY(!remoteEntries(w()).contains(QStringLiteral("empty/")));
        QVERIFY(!QFileInfo::exists(server_.pathOf(QStringLiteral("empty"))));
        QVERIFY(remoteEntries(w()).contains(QStringLiteral("pub/")));
    }

    void theWayUpIsNeverDeleted()
    {
        select(QStringLiteral("pub/"));
        QTest::keyClick(w().ListView2, Qt::Key_Return);
        waitForListing();
        select(QStringLiteral("../"));
        w().Fdelete_Click();
        QCOMPARE(messages_, QStringList{QStringLiteral("Your selecting item cannot be deleting.")});
        QVERIFY(!w().DelWait && !w().Inet1->stillExecuting());
        QVERIFY(QFileInfo(server_.pathOf(QStringLiteral("pub"))).isDir());
    }
};

QTEST_MAIN(EditFtpTest)
#include "tst_edit_ftp.moc"
