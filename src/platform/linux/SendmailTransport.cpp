#include "platform/linux/SendmailTransport.h"

#include "platform/MailTransportError.h"

#include <QProcess>
#include <QStandardPaths>
#include <qcoro/qcoroprocess.h>

namespace nolvea {

namespace {

// Runs the program, feeding `input`; the output pipes are drained by the event loop while it
// runs. Stopped with SIGTERM, then SIGKILL, when it outlives the time limit.
QCoro::Task<void> runProgram(QString program, QStringList arguments, QByteArray input) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    auto coro = qCoro(process);
    if (!co_await coro.start(QIODevice::ReadWrite)) {
        throw MailTransportError(QStringLiteral("Não foi possível iniciar %1.").arg(program));
    }
    if (!input.isEmpty()) process.write(input);
    process.closeWriteChannel();
    if (!co_await coro.waitForFinished(SendmailTransport::kTimeLimit)) {
        process.terminate();
        if (!co_await coro.waitForFinished(std::chrono::seconds(2))) {
            process.kill();
            co_await coro.waitForFinished(std::chrono::seconds(2));
        }
    }
    const QString complaint = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::CrashExit)
        throw MailTransportError(complaint.isEmpty() ? QStringLiteral("Falhou (15).") : complaint);
    if (process.exitCode() != 0)
        throw MailTransportError(complaint.isEmpty()
                                     ? QStringLiteral("Falhou (%1).").arg(process.exitCode())
                                     : complaint);
}

} // namespace

SendmailTransport::SendmailTransport(QStringList extraFolders)
    : m_extraFolders(std::move(extraFolders)) {}

QString SendmailTransport::sendmail() const {
    QString found = QStandardPaths::findExecutable(QStringLiteral("sendmail"));
    if (found.isEmpty() && !m_extraFolders.isEmpty())
        found = QStandardPaths::findExecutable(QStringLiteral("sendmail"), m_extraFolders);
    return found;
}

bool SendmailTransport::canSend() const {
    return !sendmail().isEmpty();
}

QCoro::Task<void> SendmailTransport::send(QByteArray message) {
    const QString program = sendmail();
    if (program.isEmpty())
        throw MailTransportError(QStringLiteral("Nenhum programa sendmail instalado."));
    const QStringList arguments = {QStringLiteral("-t"), QStringLiteral("-oi")};
    co_await runProgram(program, arguments, message);
}

QCoro::Task<void> SendmailTransport::compose(QUrl mailto) {
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (program.isEmpty())
        throw MailTransportError(
            QStringLiteral("Nenhum app de e-mail disponível: o xdg-email não está instalado."));
    // The one argument begins with "mailto:", so it can never read as an option.
    const QStringList arguments = {mailto.toString(QUrl::FullyEncoded)};
    co_await runProgram(program, arguments, QByteArray());
}

} // namespace nolvea
