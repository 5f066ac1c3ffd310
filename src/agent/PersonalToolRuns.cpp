#include "agent/PersonalToolRuns.h"

#include "agent/AppleScript.h"
#include "agent/ToolError.h"

namespace nolvea::PersonalToolRuns {

namespace {

// Until its layer is in place, a tool says plainly that it did nothing.
[[noreturn]] void unavailable(const QString& what) {
    throw ToolError::failed(
        QStringLiteral("%1 ainda não está disponível neste computador: nada foi feito.").arg(what));
}

} // namespace

QCoro::Task<QString> createReminder(JSONValue) {
    unavailable(QStringLiteral("Criar lembretes"));
    co_return {};
}
QCoro::Task<QString> listReminders(JSONValue) {
    unavailable(QStringLiteral("Ler lembretes"));
    co_return {};
}
QCoro::Task<QString> createEvent(JSONValue) {
    unavailable(QStringLiteral("Criar eventos"));
    co_return {};
}
QCoro::Task<QString> listEvents(JSONValue) {
    unavailable(QStringLiteral("Ler a agenda"));
    co_return {};
}
QCoro::Task<QString> findContact(JSONValue) {
    unavailable(QStringLiteral("Buscar contatos"));
    co_return {};
}

QCoro::Task<QString> sendMessage(JSONValue arguments) {
    const QString to = arguments.required(QStringLiteral("to"));
    const QString text = arguments.required(QStringLiteral("text"));
    Q_UNUSED(to);
    Q_UNUSED(text);
    // No messaging service exists on this desktop; the runner reports it and sends nothing.
    AppleScript::run(QString());
    co_return QStringLiteral("Mensagem enviada");
}

QCoro::Task<QString> sendEmail(JSONValue) {
    unavailable(QStringLiteral("Enviar e-mails"));
    co_return {};
}
QCoro::Task<QString> listRecentEmails(JSONValue) {
    unavailable(QStringLiteral("Ler e-mails"));
    co_return {};
}
QCoro::Task<QString> lookAtScreen(JSONValue) {
    unavailable(QStringLiteral("Olhar a tela"));
    co_return {};
}

} // namespace nolvea::PersonalToolRuns
