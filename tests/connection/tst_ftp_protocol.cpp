// The FTP engine against a scripted peer on 127.0.0.1, for what real servers
// rarely do on cue: no 1xx reply, the final reply before the data, replies
// split across reads, a hostile endless reply line.

#include "connection/ftp/ftp_transfer_control.h"
#include "tst_ftp_support.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace corvexo;
using namespace corvexo::testing;

namespace {

// Answers the login and the listing of one folder; the way it ends a
// listing is chosen by the test.
class ScriptedPeer : public QObject {
    Q_OBJECT
public:
    enum class Ending { DataThenReply, NoPreliminary, ReplyBeforeData };
    Ending ending = Ending::DataThenReply;
    QByteArray greeting = "220 scripted peer\r\n";
    QByteArray listing = "-rw-r--r-- 1 u g 5 Jan 1 12:00 one file.txt\r\n"
                         "drwxr-xr-x 2 u g 4096 Jan 1 2020 a folder\r\n";
    QStringList received;

    bool listen()
    {
        connect(&control_, &QTcpServer::newConnection, this, [this] {
            client_ = control_.nextPendingConnection();
            connect(client_, &QTcpSocket::readyRead, this, &ScriptedPeer::onCommand);
            client_->write(greeting);
        });
        connect(&data_, &QTcpServer::newConnection, this, [this] {
            dataClient_ = data_.nextPendingConnection();
            maybeSendListing();
        });
        return control_.listen(QHostAddress::LocalHost) && data_.listen(QHostAddress::LocalHost);
    }
    quint16 port() const { return control_.serverPort(); }

private:
    void reply(const QByteArray &text)
    {
        // Written in two pieces so the reader must join them.
        client_->write(text.left(2));
        client_->flush();
        client_->write(text.mid(2) + "\r\n");
    }

    void onCommand()
    {
        while (client_->canReadLine()) {
            const QByteArray line = client_->readLine().trimmed();
            received << QString::fromUtf8(line);
            const QByteArray word = line.left(line.indexOf(' ') < 0 ? line.size() : line.indexOf(' ')).toUpper();
            if (word == "USER") reply("331 password please");
            else if (word == "PASS") reply("230 in");
            else if (word == "FEAT") reply("211-Features:\r\n EPSV\r\n211-still going\r\n211 End");
            else if (word == "TYPE") reply("200 binary");
            else if (word == "PWD") reply("257 \"/\" here");
            else if (word == "EPSV") reply("229 Entering Extended Passive Mode (|||" + QByteArray::number(data_.serverPort()) + "|)");
            else if (word == "LIST") startListing();
            else reply("502 not here");
        }
    }

    void startListing()
    {
        listRequested_ = true;
        if (ending == Ending::DataThenReply) reply("150 here it comes");
        if (ending == Ending::ReplyBeforeData) {
            reply("150 here it comes");
            reply("226 done before the data");
        }
        maybeSendListing();
    }

    void maybeSendListing()
    {
        if (!listRequested_ || !dataClient_) return;
        const int delay = ending == Ending::ReplyBeforeData ? 200 : 0;
        QTimer::singleShot(delay, this, [this] {
            dataClient_->write(listing);
            dataClient_->disconnectFromHost();
            if (ending != Ending::ReplyBeforeData)
                QTimer::singleShot(100, this, [this] { reply("226 done"); });
        });
    }

    QTcpServer control_, data_;
    QTcpSocket *client_ = nullptr;
    QTcpSocket *dataClient_ = nullptr;
    bool listRequested_ = false;
};

FtpRun listOn(ScriptedPeer &peer)
{
    FtpTransferControl control;
    control.setRequestTimeout(5);
    control.setRemotePort(peer.port());
    control.setRemoteHost(QStringLiteral("127.0.0.1"));
    control.setUserName(QStringLiteral("u"));
    control.setPassword(QStringLiteral("p"));
    return runOn(control, TransferCommand::connectListing());
}

} // namespace

class FtpProtocolTest : public QObject {
    Q_OBJECT
private slots:
    void listingEndsOnReplyAndClosedDataInEitherOrder_data()
    {
        QTest::addColumn<int>("ending");
        QTest::newRow("data, then reply") << int(ScriptedPeer::Ending::DataThenReply);
        QTest::newRow("no 1xx reply") << int(ScriptedPeer::Ending::NoPreliminary);
        QTest::newRow("reply before data") << int(ScriptedPeer::Ending::ReplyBeforeData);
    }

    void listingEndsOnReplyAndClosedDataInEitherOrder()
    {
        QFETCH(int, ending);
        ScriptedPeer peer;
        peer.ending = ScriptedPeer::Ending(ending);
        QVERIFY(peer.listen());
        const FtpRun run = listOn(peer);
        QCOMPARE(run.states, opening());
        QCOMPARE(run.answer, QByteArray("one file.txt\r\na folder/"));
        // Not offered in FEAT: no MLSD and no OPTS UTF8.
        QVERIFY(peer.received.contains(QStringLiteral("LIST")));
        QVERIFY(!peer.received.contains(QStringLiteral("OPTS UTF8 ON")));
        QCOMPARE(peer.received.mid(0, 5), QStringList({"AUTH TLS", "USER u", "PASS p", "FEAT", "TYPE I"}));
    }

    void endlessReplyLineEndsInError()
    {
        ScriptedPeer peer;
        peer.greeting = QByteArray(200 * 1024, 'x');
        QVERIFY(peer.listen());
        const FtpRun run = listOn(peer);
        QCOMPARE(run.states.last(), 11);
        QCOMPARE(run.code, 0);
        QVERIFY2(run.info.contains(QStringLiteral("too long")), qPrintable(run.info));
    }

    void refusedGreetingEndsInErrorWithItsCode()
    {
        ScriptedPeer peer;
        peer.greeting = "421-Too many users\r\n421 try later\r\n";
        QVERIFY(peer.listen());
        const FtpRun run = listOn(peer);
        QCOMPARE(run.states, QList<int>({1, 2, 3, 11}));
        QCOMPARE(run.code, 421);
        QCOMPARE(run.info, QStringLiteral("Too many users\r\ntry later"));
    }
};

QTEST_GUILESS_MAIN(FtpProtocolTest)
#include "tst_ftp_protocol.moc"
