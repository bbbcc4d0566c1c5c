#pragma once
// Runs one command on a transfer control and collects what it reported, for
// the FTP engine tests.

#include "connection/transfer_control.h"
#include "support/ftp_test_server.h"
#include "support/local_files.h"

#include <QFile>

#include <QList>
#include <QObject>
#include <QTest>

namespace corvexo::testing {

struct FtpRun {
    int refusal = 0;
    QList<int> states;
    int code = 0;
    QString info;
    QByteArray answer;
    bool ended() const
    {
        return !states.isEmpty() && (states.last() == 10 || states.last() == 11 || states.last() == 12);
    }
};

// Executes the command, waits for its end (10, 11 or 12) and reads the whole
// answer in pieces of chunkBytes.
inline FtpRun runOn(TransferControl &control, const TransferCommand &command, int chunkBytes = 1024,
                    int waitMs = 20000)
{
    FtpRun run;
    const QMetaObject::Connection connection =
        QObject::connect(&control, &TransferControl::stateChanged, [&run](int state) { run.states << state; });
    run.refusal = control.execute(command);
    if (run.refusal == 0) (void)QTest::qWaitFor([&run] { return run.ended(); }, waitMs);
    QObject::disconnect(connection);
    run.code = control.responseCode();
    run.info = control.responseInfo();
    for (QByteArray chunk = control.getChunk(chunkBytes); !chunk.isEmpty(); chunk = control.getChunk(chunkBytes))
        run.answer += chunk;
    return run;
}

// Points the control at the test server, logging in as its user.
inline void pointAt(TransferControl &control, const FtpTestServer &server,
                    const QString &host = QStringLiteral("127.0.0.1"))
{
    control.setRemotePort(server.port());
    control.setRemoteHost(host);
    control.setUserName(server.user());
    control.setPassword(server.password());
}

inline QList<int> opening() { return {1, 2, 3, 4, 5, 6, 7, 8, 12}; }
inline QList<int> completed() { return {5, 6, 7, 8, 12}; }

// The lines of a listing text, sorted, for comparison regardless of server order.
inline QStringList sortedLines(const QByteArray &answer)
{
    QStringList lines = QString::fromUtf8(answer).split(QStringLiteral("\r\n"));
    std::sort(lines.begin(), lines.end());
    return lines;
}

} // namespace corvexo::testing
