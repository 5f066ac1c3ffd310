#include "ui/menubar/MenuBarModel.h"

namespace nolvea {

using Stage = AppState::Stage;

QString MenuBarModel::keyName(HotkeyChoice key) {
    switch (key) {
    case HotkeyChoice::fn:
        break;
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥ Option direito");
    case HotkeyChoice::rightCommand:
        return QStringLiteral("⌘ Command direito");
    }
    return QStringLiteral("Fn / 🌐");
}

QString MenuBarModel::keyCapLabel(HotkeyChoice key) {
    switch (key) {
    case HotkeyChoice::fn:
        break;
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥");
    case HotkeyChoice::rightCommand:
        return QStringLiteral("⌘");
    }
    return QStringLiteral("fn");
}

QString MenuBarModel::statusLine(Stage stage, VoiceMode mode, HotkeyChoice key,
                                 const QString& statusText) {
    switch (stage) {
    case Stage::idle:
        return QStringLiteral("Pronto · segure ") + keyName(key);
    case Stage::listening:
        return mode == VoiceMode::agent ? QStringLiteral("Ouvindo o pedido…")
                                        : QStringLiteral("Ouvindo…");
    case Stage::processing:
    case Stage::success:
    case Stage::error:
        return statusText;
    case Stage::confirming:
        return QStringLiteral("Aguardando sua confirmação");
    case Stage::answer:
        return QStringLiteral("Respondendo…");
    }
    return statusText;
}

BrandMarkInputs MenuBarModel::brandMark(Stage stage, VoiceMode mode, const QList<float>& levels) {
    const bool listening = stage == Stage::listening;
    BrandMarkInputs in;
    in.style = BrandMarkStyle::aurora();
    in.level = listening && !levels.isEmpty() ? double(levels.last()) : 0;
    if (listening && mode == VoiceMode::dictation) in.levels = levels;
    in.ball = mode == VoiceMode::agent && stage != Stage::idle;
    in.animated = stage != Stage::idle;
    in.busy = stage == Stage::processing;
    in.glow = listening;
    in.echoes = true;
    return in;
}

std::optional<MenuBarModel::UpdateOffer> MenuBarModel::updateOffer(const UpdatePhase& phase) {
    if (phase.kind != UpdatePhase::Kind::available || !phase.release) return std::nullopt;
    const UpdateRelease& r = *phase.release;
    const QString notes =
        r.notes && !r.notes->isEmpty() ? *r.notes : QStringLiteral("Melhorias e correções");
    return UpdateOffer{QStringLiteral("Versão ") + r.version + QStringLiteral(" disponível"), notes,
                       r};
}

QList<MenuBarModel::PermissionRow> MenuBarModel::missingPermissions(int grantedMask) {
    static const QList<PermissionRow> all{
        {PermissionKind::microphone, QStringLiteral("mic.fill"), QStringLiteral("Microfone")},
        {PermissionKind::accessibility, QStringLiteral("accessibility"),
         QStringLiteral("Acessibilidade")},
        {PermissionKind::inputMonitoring, QStringLiteral("keyboard.fill"),
         QStringLiteral("Monitoramento de Entrada")},
    };
    QList<PermissionRow> rows;
    for (const PermissionRow& row : all)
        if (!(grantedMask & (1 << int(row.kind)))) rows << row;
    return rows;
}

QString MenuBarModel::modelLine(const QString& model) {
    return model.isEmpty() ? QStringLiteral("Nenhum modelo escolhido") : model;
}

const QList<MenuBarModel::ToggleRow>& MenuBarModel::toggles() {
    static const QList<ToggleRow> rows{
        {Toggle::aiCleanup, QStringLiteral("wand.and.stars"), QStringLiteral("Refinar com IA")},
        {Toggle::agent, QStringLiteral("sparkles"), QStringLiteral("Modo agente (+ ⌃)")},
        {Toggle::sounds, QStringLiteral("speaker.wave.2.fill"), QStringLiteral("Sons")},
    };
    return rows;
}

QString MenuBarModel::kindSymbol(HistoryEntry::Kind kind) {
    switch (kind) {
    case HistoryEntry::Kind::agent:
        return QStringLiteral("sparkles");
    case HistoryEntry::Kind::edit:
        return QStringLiteral("pencil");
    case HistoryEntry::Kind::dictation:
        break;
    }
    return QStringLiteral("waveform");
}

QList<MenuBarModel::RecentRow> MenuBarModel::recentRows(const QList<HistoryEntry>& entries) {
    QList<RecentRow> rows;
    for (const HistoryEntry& e : entries.mid(0, kRecentCount))
        rows << RecentRow{e.id, kindSymbol(e.kind), e.output};
    return rows;
}

QList<MenuBarModel::FooterButton> MenuBarModel::footer(const Reachable& reachable) {
    const QString later = QStringLiteral(" (ainda não disponível nesta versão)");
    const QString demoTip = QStringLiteral("Ver demonstração das animações");
    return {
        {Action::history, QStringLiteral("Histórico"), QStringLiteral("clock"), false,
         reachable.historyDrawer ? QString() : QStringLiteral("Histórico") + later,
         reachable.historyDrawer},
        {Action::settings, QStringLiteral("Ajustes"), QStringLiteral("gearshape"), false,
         reachable.settings ? QString() : QStringLiteral("Ajustes") + later, reachable.settings},
        {Action::demo, QStringLiteral("Demo"), QStringLiteral("play.fill"), true,
         reachable.demo ? demoTip : demoTip + later, reachable.demo},
        {Action::quit, QStringLiteral("Sair"), QStringLiteral("power"), true,
         QStringLiteral("Sair da Nolvea"), true},
    };
}

} // namespace nolvea
