#include "platform/linux/SendmailTransport.h"

#include "platform/MailTransportError.h"
#include "support/ChildProcess.h"
#include "support/ProcessStartError.h"

#include <QStandardPaths>

namespace nolvea {

namespace {

// Runs the program in a group of its own, feeding `input` while its outputs are read. The
// time limit stops it with SIGTERM, then SIGKILL.
QCoro::Task<void> runProgram(QString program, QStringList arguments, QByteArray input) {
    ChildProcess::Setup setup;
    setup.program = program;
    setup.arguments = std::move(arguments);
    setup.input = ChildProcess::Input::pipe;
    setup.timeLimit = SendmailTransport::kTimeLimit;
    ChildProcess child(std::move(setup));
    try {
        co_await child.start();
    } catch (const ProcessStartError&) {
        throw MailTransportError(QStringLiteral("Não foi possível iniciar %1.").arg(program));
    }
    if (!input.isEmpty()) child.write(input);
    child.closeInput();
    const ChildProcess::Exit exit = co_await child.finished();
    if (!exit.signalled && exit.status == 0) co_return;
    const QString complaint = QString::fromUtf8(exit.err);
    if (!complaint.isEmpty()) throw MailTransportError(complaint);
    throw MailTransportError(QStringLiteral("Falhou (%1).").arg(exit.status));
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
