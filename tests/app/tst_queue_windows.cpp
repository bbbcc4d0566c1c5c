// The Transfers window over a real queue (pyftpdlib), and the Options window
// with its file.

#include "app/message_box.h"
#include "app/options_window.h"
#include "app/transfers_window.h"
#include "connection/ftp/ftp_session.h"
#include "support/ftp_test_server.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace corvexo;

class TstQueueWindows : public QObject {
    Q_OBJECT
private slots:
    void transfersWindowShowsTheQueue()
    {
        testing::FtpTestServer server;
        QVERIFY2(server.start(), qPrintable(server.errorText()));
        server.writeFile(QStringLiteral("pub/a.txt"), "aaa");
        server.writeFile(QStringLiteral("pub/b.txt"), QByteArray(2500, 'b'));
        QTemporaryDir local;
        queue::TransferQueue queue([] { return std::make_unique<ftp::FtpSession>(); },
                                   {TransferScheme::Ftp, QStringLiteral("127.0.0.1"), server.port(), server.user(), server.password()});
        TransfersWindow window(&queue);
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("Transfers"));
        QAbstractItemModel *rows = window.list()->model();
        QStringList headers;
        for (int c = 0; c < rows->columnCount(); ++c) headers << rows->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Direction", "From", "To", "Size", "Progress", "Speed", "State"}));

        QSignalSpy finished(&queue, &queue::TransferQueue::finished);
        queue.addDownload(QStringLiteral("pub"), local.path());
        QVERIFY(window.stopAllButton()->isEnabled());
        QVERIFY(finished.wait(30000));
        QCOMPARE(rows->rowCount(), 3);   // the folder and its two files
        int fileRow = -1;
        for (int r = 0; r < rows->rowCount(); ++r)
            if (rows->index(r, 1).data().toString().endsWith(QStringLiteral("/b.txt"))) fileRow = r;
        QVERIFY(fileRow >= 0);
        QCOMPARE(rows->index(fileRow, 0).data().toString(), QStringLiteral("download"));
        QCOMPARE(rows->index(fileRow, 2).data().toString(), local.filePath(QStringLiteral("b.txt")));
        QCOMPARE(rows->index(fileRow, 3).data().toString(), QStringLiteral("2.5 KB"));
        QCOMPARE(rows->index(fileRow, 4).data().toString(), QStringLiteral("100%"));
        QCOMPARE(rows->index(fileRow, 6).data().toString(), QStringLiteral("done"));
        QVERIFY(!window.stopAllButton()->isEnabled());
        QVERIFY(!window.retryButton()->isEnabled());

        QVERIFY(window.clearButton()->isEnabled());
        window.clearButton()->click();
        QCOMPARE(rows->rowCount(), 0);
    }

    void optionsSavedAndReadBack()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("config/options"));
        {
            OptionsWindow window(path);
            QCOMPARE(window.windowTitle(), QStringLiteral("Options"));
            QCOMPARE(window.sessions()->value(), 2);
            QCOMPARE(window.existing()->currentText(), QStringLiteral("Ask"));
            window.sessions()->setValue(4);
            window.existing()->setCurrentIndex(window.existing()->findText(QStringLiteral("Rename")));
            window.accept();
            QCOMPARE(window.result(), int(QDialog::Accepted));
        }
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("parallel-sessions=4\nexisting-targets=rename\n"));
        OptionsWindow again(path);
        QCOMPARE(again.sessions()->value(), 4);
        QCOMPARE(again.existing()->currentText(), QStringLiteral("Rename"));
    }

    void optionsThatCannotBeSavedSaySo()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("options"));
        QVERIFY(QDir().mkpath(path));   // a folder where the file should be
        QStringList shown;
        setMessageBoxAnswerer([&shown](const MessageBoxRequest &request) {
            shown << request.text;
            return MessageBoxAnswer::Ok;
        });
        OptionsWindow window(path);
        window.open();
        window.accept();
        setMessageBoxAnswerer({});
        QCOMPARE(shown, QStringList {QStringLiteral("The options could not be saved to %1: Is a directory").arg(path)});
        QVERIFY(window.isVisible());
        QVERIFY(QFileInfo(path).isDir());
    }
};

QTEST_MAIN(TstQueueWindows)
#include "tst_queue_windows.moc"
