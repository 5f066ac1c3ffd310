#include "ui/preview/PreviewScenes.h"

#include "core/ActionPreview.h"
#include "core/EmailDraft.h"
#include "ui/notch/NotchModel.h"

#include <cmath>

namespace nolvea {

using Stage = AppState::Stage;

namespace {

const QString kAnswer =
    QStringLiteral("15% de 230 é **34,5**. Se for gorjeta, o total fica R$ 264,50.");

// The body of a short e-mail: greeting, a blank line, the text, a blank line, the sign-off.
QString letter(const QString& to, const QString& text, const QString& from) {
    return QStringLiteral("Oi %1,\n\n%2\n\nAbraço,\n%3").arg(to, text, from);
}

} // namespace

QList<PreviewScenes::Picture> PreviewScenes::pictures() {
    QList<Picture> out;
    for (const PillScene& s : pill(QDateTime()))
        out << Picture{s.stem + QStringLiteral(".png"), {640, 300}, Kind::pill};
    const QStringList steps{"welcome", "name", "permissions", "hotkey", "ai", "google", "done"};
    for (int raw = 0; raw < steps.size(); ++raw)
        out << Picture{QStringLiteral("onboarding-%1-%2.png").arg(raw).arg(steps[raw]),
                       {780, 660},
                       Kind::onboarding};
    out << Picture{QStringLiteral("logo-estados.png"), {760, 120}, Kind::logo};
    for (const NotchScene& s : notch({}, {}))
        out << Picture{s.stem + QStringLiteral(".png"), {760, 520}, Kind::notch};
    out << Picture{QStringLiteral("historico-gaveta.png"), {700, 760}, Kind::drawer};
    for (const char* section : {"general", "ai", "vocabulary", "about"})
        out << Picture{QStringLiteral("ajustes-%1.png").arg(QString::fromUtf8(section)),
                       {620, 760},
                       Kind::settings};
    out << Picture{QStringLiteral("menu.png"), {340, 460}, Kind::menu};
    return out;
}

QList<float> PreviewScenes::levels(double factor, float scale, bool cosine) {
    QList<float> out;
    for (int k = 0; k < AppState::kLevelCount; ++k) {
        const auto wave = float(cosine ? std::cos(factor * k) : std::sin(factor * k));
        out << std::abs(wave) * scale;
    }
    return out;
}

QList<float> PreviewScenes::logoHistory() {
    QList<float> out;
    for (int k = 0; k < AppState::kLevelCount; ++k)
        out << (0.3f + 0.7f * float(k) / 32.0f) * std::abs(float(std::sin(0.45 * k)));
    return out;
}

std::optional<QUuid> PreviewScenes::firstAgentEntry(const QList<HistoryEntry>& entries,
                                                    bool orFirst) {
    for (const HistoryEntry& e : entries)
        if (e.kind == HistoryEntry::Kind::agent) return e.id;
    if (orFirst && !entries.isEmpty()) return entries.first().id;
    return std::nullopt;
}

const PreviewScenes::People& PreviewScenes::people() {
    static const People p{
        QStringLiteral("Rafael"),
        QStringLiteral("Rafael Monteiro"),
        QStringLiteral("rafael.monteiro@exemplo.com.br"),
        QStringLiteral("Camila"),
        QStringLiteral("Camila Duarte"),
        QStringLiteral("camila.duarte@exemplo.com.br"),
        QStringLiteral("(11) 98765-4321"),
    };
    return p;
}

NotchGeometry PreviewScenes::notchGeometry() {
    NotchGeometry g;
    g.notchSize = QSize(220, 38);
    g.hasHardwareNotch = true;
    g.screenFrame = QRect(0, 0, 760, 520);
    return g;
}

QList<PreviewScenes::PillScene> PreviewScenes::pill(const QDateTime& now) {
    return {
        {QStringLiteral("1-ouvindo"),
         [now](AppState& s) {
             s.setStage(Stage::listening);
             s.setMode(VoiceMode::dictation);
             s.setListeningSince(now.addSecs(-3));
             s.setLiveText(QStringLiteral("Oi pessoal, o deploy vai ser hoje às 18h"));
             s.setLevels(levels(0.6, 0.8f));
         }},
        {QStringLiteral("2-maos-livres"),
         [now](AppState& s) {
             s.setStage(Stage::listening);
             s.setMode(VoiceMode::dictation);
             s.setHandsFree(true);
             s.setListeningSince(now.addSecs(-12));
             s.setLevels(levels(0.9, 0.6f));
         }},
        {QStringLiteral("3-agente"),
         [now](AppState& s) {
             s.setStage(Stage::listening);
             s.setMode(VoiceMode::agent);
             s.setListeningSince(now.addSecs(-2));
             s.setLiveText(QStringLiteral("Me lembra de ligar pro dentista amanhã às nove"));
             s.setLevels(levels(0.7, 0.9f, true));
         }},
        {QStringLiteral("4-processando"),
         [](AppState& s) {
             s.setStage(Stage::processing);
             s.setMode(VoiceMode::dictation);
             s.setStatusText(QStringLiteral("Refinando…"));
             s.setLiveText(QStringLiteral(
                 "Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o seu PR."));
         }},
        {QStringLiteral("5-sucesso"),
         [](AppState& s) {
             s.setStage(Stage::success);
             s.setStatusText(QStringLiteral("18 palavras"));
         }},
        {QStringLiteral("6-erro"),
         [](AppState& s) {
             s.setStage(Stage::error);
             s.setStatusText(QStringLiteral("LM Studio não respondeu"));
         }},
        {QStringLiteral("7-confirmar"),
         [](AppState& s) {
             ActionPreview action;
             action.symbol = QStringLiteral("calendar.badge.plus");
             action.title = QStringLiteral("Criar evento");
             action.details = {QStringLiteral("Reunião com o time"),
                               QStringLiteral("sexta-feira, 2 de out. às 15:00 – 16:00"),
                               QStringLiteral("📍 Escritório")};
             s.setMode(VoiceMode::agent);
             s.setPendingAction(action);
             s.setStage(Stage::confirming);
         }},
        {QStringLiteral("8-resposta"),
         [](AppState& s) {
             s.setMode(VoiceMode::agent);
             s.setAnswerText(kAnswer);
             s.setStage(Stage::answer);
         }},
    };
}

QList<PreviewScenes::NotchScene>
PreviewScenes::notch(const QList<HistoryEntry>& history,
                     const std::function<QVariant(const QString&)>& appIcon) {
    const People& p = people();
    auto icon = [appIcon](const QString& app) { return appIcon ? appIcon(app) : QVariant(); };
    const QString message = QStringLiteral("Manda uma mensagem pro %1 dizendo que vou me atrasar "
                                           "dez minutos")
                                .arg(p.contactFirst);
    const std::optional<QUuid> hoverEntry = firstAgentEntry(history, true);
    return {
        {QStringLiteral("notch-1-parado"), [](AppState&, NotchModel&) {}},
        {QStringLiteral("notch-2-resultado-novo"),
         [](AppState& s, NotchModel&) { s.setHasUnseenResult(true); }},
        {QStringLiteral("notch-3-ditando"),
         [icon](AppState& s, NotchModel&) {
             s.setMode(VoiceMode::dictation);
             s.setTargetAppIcon(icon(QStringLiteral("notes")));
             s.setLevels(levels(0.8, 0.8f));
             s.setStage(Stage::listening);
         }},
        {QStringLiteral("notch-4-agente-ouvindo"),
         [icon, message](AppState& s, NotchModel&) {
             s.setMode(VoiceMode::agent);
             s.setTargetAppIcon(icon(QStringLiteral("messages")));
             s.setLiveText(message);
             s.setLevels(levels(0.7, 0.9f, true));
             s.setStage(Stage::listening);
         }},
        {QStringLiteral("notch-5-agente-trabalhando"),
         [message](AppState& s, NotchModel&) {
             s.setMode(VoiceMode::agent);
             s.setToolSymbol(QStringLiteral("person.crop.circle"));
             s.setStatusText(QStringLiteral("Procurando contato…"));
             s.setLiveText(message);
             s.setStage(Stage::processing);
         }},
        {QStringLiteral("notch-6-confirmar"),
         [message, p](AppState& s, NotchModel&) {
             const QString draft =
                 QStringLiteral("Oi %1! Vou me atrasar uns 10 minutinhos, já chego.")
                     .arg(p.contactFirst);
             ActionPreview action;
             action.symbol = QStringLiteral("message.fill");
             action.title = QStringLiteral("Enviar mensagem para ") + p.contactFull;
             action.details = {p.mobile};
             action.editableKey = QStringLiteral("text");
             action.editableValue = draft;
             s.setMode(VoiceMode::agent);
             s.setLastRequest(message);
             s.setDraftText(draft);
             s.setPendingAction(action);
             s.setStage(Stage::confirming);
         }},
        {QStringLiteral("notch-7-resposta"),
         [](AppState& s, NotchModel&) {
             s.setMode(VoiceMode::agent);
             s.setLastRequest(QStringLiteral("Quanto é 15% de 230?"));
             s.setAnswerText(kAnswer);
             s.setStage(Stage::answer);
         }},
        {QStringLiteral("notch-8-hover"), [](AppState&, NotchModel& m) { m.setHovering(true); }},
        {QStringLiteral("notch-8c-hover-pergunta"),
         [p](AppState& s, NotchModel& m) {
             m.setHovering(true);
             s.setAwaitingReply(true);
             s.setAnswerText(
                 QStringLiteral("Claro! Para qual dia você quer marcar a reunião com o %1?")
                     .arg(p.contactFirst));
         }},
        {QStringLiteral("notch-8b-hover-conversa"),
         [hoverEntry](AppState&, NotchModel& m) {
             m.setHovering(true);
             m.setExpandedEntryID(hoverEntry);
         }},
        {QStringLiteral("notch-9-email"),
         [p](AppState& s, NotchModel&) {
             EmailDraft draft;
             draft.to = {EmailRecipient{QUuid::createUuid(), p.contactFull, p.contactAddress, {}}};
             draft.subject = QStringLiteral("Re: Proposta comercial — Q4");
             draft.body = letter(p.contactFirst,
                                 QStringLiteral("Boa notícia: a proposta está aprovada! Amanhã te "
                                                "mando o contrato para assinatura."),
                                 p.userFirst);
             draft.replyToID = QStringLiteral("123");
             draft.original = EmailSummary{
                 QStringLiteral("123"),
                 QStringLiteral("%1 <%2>").arg(p.contactFull, p.contactAddress),
                 QStringLiteral("Proposta comercial — Q4"),
                 QStringLiteral("ontem, 17:42"),
                 QStringLiteral("Oi %1, segue a proposta revisada com os valores que conversamos. "
                                "Consegue me dar um retorno até amanhã?")
                     .arg(p.userFirst),
             };
             ActionPreview action;
             action.symbol = QStringLiteral("envelope.fill");
             action.title = QStringLiteral("Responder e-mail");
             action.email = draft;
             s.setMode(VoiceMode::agent);
             s.setLastRequest(QStringLiteral("Responde o %1 dizendo que a proposta tá aprovada e "
                                             "que mando o contrato amanhã")
                                  .arg(p.contactFirst));
             s.setEmailDraft(draft);
             s.setMailAccounts({QStringLiteral("%1 <%2>").arg(p.userFull, p.userAddress)});
             s.setPendingAction(action);
             s.setStage(Stage::confirming);
         }},
        {QStringLiteral("notch-10-email-sem-endereco"),
         [p](AppState& s, NotchModel&) {
             EmailDraft draft;
             draft.to = {EmailRecipient{QUuid::createUuid(), p.contactFirst, QString(), {}}};
             draft.subject = QStringLiteral("Reunião de amanhã cancelada");
             draft.body = letter(
                 p.contactFirst,
                 QStringLiteral("A reunião de amanhã foi cancelada. Remarco na semana que vem."),
                 p.userFirst);
             ActionPreview action;
             action.symbol = QStringLiteral("envelope.fill");
             action.title = QStringLiteral("Novo e-mail");
             action.email = draft;
             s.setMode(VoiceMode::agent);
             s.setLastRequest(
                 QStringLiteral("Manda um email pro %1 dizendo que a reunião de amanhã foi "
                                "cancelada")
                     .arg(p.contactFirst));
             s.setEmailDraft(draft);
             s.setPendingAction(action);
             s.setStage(Stage::confirming);
         }},
        {QStringLiteral("notch-11-enviado"),
         [p](AppState& s, NotchModel&) {
             s.setMode(VoiceMode::agent);
             s.setStatusText(QStringLiteral("E-mail enviado para ") + p.contactFirst);
             s.setLastRequest(QStringLiteral("Responde o %1 dizendo que a proposta tá aprovada")
                                  .arg(p.contactFirst));
             s.setStage(Stage::success);
         }},
    };
}

} // namespace nolvea
