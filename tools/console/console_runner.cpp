#include "console_runner.h"

#include "connection/transfer_session_factory.h"

#include "connection/ftp/ftp_session.h"

#include <QFile>

namespace corvexo::console {

ConsoleRunner::ConsoleRunner(QTextStream &input, QTextStream &output, QObject *parent)
    : QObject(parent), input_(input), output_(output)
{
    connect(&control_, &TransferControl::stateChanged, this, &ConsoleRunner::onStateChanged);
    // Nobody here to type a passphrase: an encrypted key file is skipped (the agent serves such keys).
    connect(&control_, &TransferControl::passphraseQuestion, this,
            [this](const QString &) { control_.answerPassphrase(QString(), false); });
}

void ConsoleRunner::start()
{
    if (benchmark_) {
        ticker_.setInterval(10);
        ticker_.setTimerType(Qt::PreciseTimer);
        connect(&ticker_, &QTimer::timeout, this, &ConsoleRunner::onTick);
    }
    QTimer::singleShot(0, this, &ConsoleRunner::runNextLine);
}

void ConsoleRunner::runNextLine()
{
    // Waiting for a line here is fine: no command runs while we wait.
    QString line;
    do {
        if (!input_.readLineInto(&line)) {
            emit done(0);
            return;
        }
    } while (line.trimmed().isEmpty());

    QueueLine queueLine;
    QString queueError;
    if (parseQueueLine(line, &queueLine, &queueError)) {
        if (queueError.isEmpty()) return runQueue(queueLine);
        printError(0, queueError);
        emit done(1);
        return;
    }
    TransferCommand command;
    if (!TransferCommand::parse(line, &command)) {
        printError(0, QStringLiteral("unknown command or wrong operands: ") + line.trimmed());
        emit done(1);
        return;
    }
    listing_ = command.verb == TransferCommand::Verb::List;
    running_ = true;
    if (benchmark_) {
        commandClock_.start();
        tickClock_.start();
        ticker_.start();
    }
    if (const int refusal = control_.execute(command)) {
        running_ = false;
        printError(refusal, QStringLiteral("refused: ") + command.text());
        emit done(1);
    }
}

void ConsoleRunner::setQueueLogin(const SessionLogin &login, const QString &trustedFingerprint)
{
    queueLogin_ = login;
    trustedFingerprint_ = trustedFingerprint;
}

void ConsoleRunner::runQueue(const QueueLine &line)
{
    const QString fingerprint = trustedFingerprint_;
    const TransferScheme scheme = queueLogin_.scheme;
    auto factory = [fingerprint, scheme]() -> std::unique_ptr<TransferSession> {
        std::unique_ptr<TransferSession> session(makeTransferSession(scheme, nullptr));
        if (session) session->setTrustedFingerprint(fingerprint);
        return session;
    };
    if (benchmark_) {
        commandClock_.start();
        tickClock_.start();
        ticker_.start();
    }
    queueRun_ = std::make_unique<QueueRun>(line, factory, queueLogin_, output_);
    connect(queueRun_.get(), &QueueRun::done, this, [this](bool allWell) {
        if (benchmark_) {
            ticker_.stop();
            output_ << "elapsed-ms " << commandClock_.nsecsElapsed() / 1e6 << Qt::endl;
        }
        queueRun_.release()->deleteLater();
        if (!allWell) return emit done(1);
        QTimer::singleShot(0, this, &ConsoleRunner::runNextLine);
    });
    queueRun_->start();
}

void ConsoleRunner::onStateChanged(int state)
{
    if (benchmark_ && (state == TransferState::Error || state == TransferState::ResponseCompleted)) {
        ticker_.stop();
        output_ << "elapsed-ms " << commandClock_.nsecsElapsed() / 1e6 << Qt::endl;
    }
    output_ << "state " << state << Qt::endl;
    if (state == TransferState::Error) {
        running_ = false;
        printError(control_.responseCode(), control_.responseInfo());
        emit done(1);
    } else if (state == TransferState::ResponseCompleted) {
        running_ = false;
        if (listing_ && benchmark_) {
            // A benchmark checks the count; printing a large listing, or gathering
            // a copy of it, would be measured too.
            qsizetype lineEnds = 0;
            char last = 0;   // a line end may be cut between two chunks
            for (QByteArray chunk = control_.getChunk(1024); !chunk.isEmpty(); chunk = control_.getChunk(1024)) {
                lineEnds += chunk.count("\r\n") + (last == '\r' && chunk.front() == '\n');
                last = chunk.back();
            }
            output_ << "listing-lines " << (last ? lineEnds + 1 : 0) << Qt::endl;
        } else if (listing_) {
            QByteArray text;
            for (QByteArray chunk = control_.getChunk(1024); !chunk.isEmpty(); chunk = control_.getChunk(1024))
                text += chunk;
            output_ << QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
        }
        output_ << "completed" << Qt::endl;
        QTimer::singleShot(0, this, &ConsoleRunner::runNextLine);
    } else if (state == TransferState::Disconnected && !running_) {
        output_ << "disconnected by the server" << Qt::endl;
    }
}

void ConsoleRunner::onTick()
{
    longestStallMs_ = std::max(longestStallMs_, tickClock_.restart() - 10);
}

void ConsoleRunner::printBenchmarkSummary()
{
    if (!benchmark_) return;
    output_ << "longest-stall-ms " << longestStallMs_ << Qt::endl;
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmHWM:")) output_ << "peak-memory " << line.mid(6).simplified() << Qt::endl;
}

void ConsoleRunner::printError(int code, const QString &info)
{
    output_ << "error " << code << ' ' << QString(info).replace(QStringLiteral("\r\n"), QStringLiteral(" ")) << Qt::endl;
}

} // namespace corvexo::console
