// corvexo-ftp-console HOST PORT USER PASSWORD: runs the command texts read
// from standard input (dir, cd NAME, cdup, get REMOTE LOCAL, put LOCAL REMOTE,
// mkdir NAME, rmdir NAME, delete NAME, rename OLD NEW; an operand with blanks
// in double quotes) on the transfer control, for checks against any server.
// With --bench first, it also prints timings, the event loop's longest stall
// and the peak memory (used by bench/). With --trust FINGERPRINT, a certificate
// the system does not trust is accepted only when its SHA-256 fingerprint is
// that one; any other untrusted certificate ends the session before the login.
// HOST is a host text as the settings window takes it ("ftps://host",
// "ftpes://host", "sftp://host", a plain name). A login that would send the
// password in clear text to a server offering TLS (a host seen with TLS now
// refusing it, or a failed TLS handshake) ends the session unless
// --allow-plain is given.
// "get -r REMOTE LOCAL", "put -r LOCAL REMOTE" and "delete -r REMOTE" move whole
// trees through the transfer queue on sessions of their own (see queue_line.h).

#include "console_runner.h"
#include "connection/transfer_address.h"
#include "files/file_writing.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    corvexo::ignoreFileSizeSignal();
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    bool benchmark = false;
    bool allowPlain = false;
    QString trusted;
    while (args.size() > 1 && args[1].startsWith(QStringLiteral("--"))) {
        if (args[1] == QStringLiteral("--bench")) benchmark = true;
        else if (args[1] == QStringLiteral("--allow-plain")) allowPlain = true;
        else if (args[1] == QStringLiteral("--trust") && args.size() > 2) trusted = args.takeAt(2);
        else break;
        args.removeAt(1);
    }
    QTextStream output(stdout);
    if (args.size() != 5) {
        QTextStream(stderr) << "usage: corvexo-ftp-console [--bench] [--trust FINGERPRINT] [--allow-plain] "
                               "HOST PORT USER PASSWORD < commands\n";
        return 2;
    }
    bool portOk = false;
    const uint port = args[2].toUInt(&portOk);
    if (!portOk || port == 0 || port > 65535) {
        QTextStream(stderr) << "the port must be a number from 1 to 65535\n";
        return 2;
    }
    QTextStream input(stdin);
    corvexo::console::ConsoleRunner runner(input, output);
    runner.setBenchmark(benchmark);
    corvexo::FtpTransferControl &control = runner.control();
    control.setRequestTimeout(60);
    control.setListedEntriesKept(false);   // it prints the listing text only
    control.setProtocol(2);
    control.setAccessType(0);
    control.setRemotePort(quint16(port));
    control.setRemoteHost(args[1]);
    control.setUserName(args[3]);
    control.setPassword(args[4]);
    control.setTrustedFingerprint(trusted);
    const std::optional<corvexo::TransferAddress> address =
        corvexo::parseTransferAddress(args[1], QString::number(port));
    if (!address) {
        QTextStream(stderr) << "the host is not one of ftp://host, ftpes://host, ftps://host, sftp://host or a host name\n";
        return 2;
    }
    runner.setQueueLogin({address->scheme, address->host, address->port, args[3], args[4]}, trusted);
    // Nobody here to ask: a certificate that needs a question is refused.
    QObject::connect(&control, &corvexo::TransferControl::certificateQuestion, &control,
                     [&control](const corvexo::CertificateQuestion &) { control.answerCertificate(false); });
    QObject::connect(&control, &corvexo::TransferControl::plainLoginQuestion, &control,
                     [&control, allowPlain](const corvexo::PlainLoginQuestion &) { control.answerPlainLogin(allowPlain); });
    QObject::connect(&runner, &corvexo::console::ConsoleRunner::done, &app, [&app](int code) { app.exit(code); });
    runner.start();
    const int exitCode = app.exec();
    runner.printBenchmarkSummary();
    return exitCode;
}
