#include "ui/settings/GeneralSettings.h"

#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "system/LoginItem.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/components/Symbols.h"
#include "ui/settings/Bindings.h"
#include "ui/settings/GeneralSettingsModel.h"
#include "ui/settings/TranscriptionModel.h"
#include "ui/windows/WindowManager.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nolvea {

GeneralSettings::GeneralSettings(QWidget* parent)
    : QWidget(parent) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);
    stack->addWidget(youCard());
    stack->addWidget(activationCard());
    stack->addWidget(appearanceCard());
    stack->addWidget(behaviourCard());
    stack->addWidget(permissionsCard());
    Permissions::shared().startPolling();
}

SettingsCard* GeneralSettings::youCard() {
    AppSettings& s = AppSettings::shared();
    auto* card = new SettingsCard(QStringLiteral("Você"));
    card->add(new SettingRow(
        QStringLiteral("Seu nome"), QStringLiteral("Como a Nolvea te chama nas respostas"),
        Bindings::field(s, &AppSettings::userName, &AppSettings::setUserName,
                        &AppSettings::userNameChanged, AppSettings::suggestedName(), 180)));
    card->addDivider();
    auto* open = SiteButton::small(QStringLiteral("Abrir"));
    connect(open, &QAbstractButton::clicked, this,
            [] { WindowManager::shared().show(WindowManager::Kind::onboarding); });
    card->add(new SettingRow(QStringLiteral("Configuração inicial"),
                             QStringLiteral("Refaça as boas-vindas: nome, permissões, tecla, IA e "
                                            "Google"),
                             open));
    return card;
}

SettingsCard* GeneralSettings::activationCard() {
    AppSettings& s = AppSettings::shared();
    auto* card = new SettingsCard(QStringLiteral("Ativação"));
    const std::vector<HotkeyChoice> keys{HotkeyChoice::fn, HotkeyChoice::rightOption,
                                         HotkeyChoice::rightCommand};
    QStringList keyLabels;
    for (HotkeyChoice k : keys)
        keyLabels << GeneralSettingsModel::hotkeyLabel(k);
    // The running monitor follows the setting (the application listens to its change).
    card->add(new SettingRow(
        QStringLiteral("Tecla para falar"),
        QStringLiteral("Segure para ditar · com ⌃ para o agente · toque duplo para mãos livres"),
        Bindings::picker(s, keys, keyLabels, 180, &AppSettings::hotkey, &AppSettings::setHotkey,
                         &AppSettings::hotkeyChanged)));
    card->addDivider();
    auto* language = new QComboBox;
    language->setFixedWidth(180);
    const auto& languages = GeneralSettingsModel::languages();
    for (const auto& l : languages)
        language->addItem(l.label, l.identifier);
    auto showLanguage = [language, &s] {
        const QSignalBlocker block(language);
        language->setCurrentIndex(language->findData(s.localeID()));
    };
    showLanguage();
    connect(language, &QComboBox::activated, &s,
            [language, &s](int i) { s.setLocaleID(language->itemData(i).toString()); });
    auto* languageRow = new SettingRow(QStringLiteral("Idioma da fala"), QString(), language);
    // The engine that will transcribe the language chosen: whisper where it has a model.
    auto showEngine = [languageRow, &s] {
        languageRow->setDetail(
            TranscriptionModel::languageDetail(TranscriptionModel::engineFor(s.localeID())));
    };
    showEngine();
    connect(&s, &AppSettings::localeIDChanged, language, showLanguage);
    connect(&s, &AppSettings::localeIDChanged, languageRow, showEngine);
    card->add(languageRow);
    return card;
}

SettingsCard* GeneralSettings::appearanceCard() {
    AppSettings& s = AppSettings::shared();
    auto* card = new SettingsCard(QStringLiteral("Aparência"),
                                  QStringLiteral("No notch, passe o mouse sobre a ilha para "
                                                 "digitar um pedido ou ver as tarefas recentes."));
    const std::vector<OverlayStyle> styles{OverlayStyle::notch, OverlayStyle::pill};
    QStringList labels;
    for (OverlayStyle st : styles)
        labels << GeneralSettingsModel::overlayLabel(st);
    // Screens here never have a camera notch.
    card->add(new SettingRow(
        QStringLiteral("Onde mostrar"), GeneralSettingsModel::notchDetail(false),
        Bindings::segmented(s, styles, labels, 220, &AppSettings::overlayStyle,
                            &AppSettings::setOverlayStyle, &AppSettings::overlayStyleChanged)));
    card->addDivider();
    card->add(new SettingRow(
        QStringLiteral("Histórico na borda esquerda"),
        QStringLiteral("Encoste o mouse na borda esquerda da tela e espere um instante"),
        Bindings::toggle(s, &AppSettings::historyDrawerEnabled,
                         &AppSettings::setHistoryDrawerEnabled,
                         &AppSettings::historyDrawerEnabledChanged)));
    return card;
}

SettingsCard* GeneralSettings::behaviourCard() {
    AppSettings& s = AppSettings::shared();
    auto* card = new SettingsCard(QStringLiteral("Comportamento"));
    card->add(
        new SettingRow(QStringLiteral("Sons de feedback"),
                       QStringLiteral("Toques discretos ao começar e terminar"),
                       Bindings::toggle(s, &AppSettings::playSounds, &AppSettings::setPlaySounds,
                                        &AppSettings::playSoundsChanged)));
    card->addDivider();
    m_launch = new SettingsSwitch;
    m_launch->setChecked(LoginItem::current().status() == LoginItem::Status::enabled);
    connect(m_launch, &SettingsSwitch::toggled, this, &GeneralSettings::launchAtLoginToggled);
    card->add(new SettingRow(QStringLiteral("Abrir ao iniciar sessão"), std::nullopt, m_launch));
    card->addDivider();
    auto* demo = SiteButton::small(QStringLiteral("Reproduzir"));
    if (WindowManager::shared().runDemo()) {
        connect(demo, &QAbstractButton::clicked, this, [] {
            if (const auto& run = WindowManager::shared().runDemo()) run();
        });
    } else {
        // Opened without the running application (previews): nothing to play on.
        demo->setEnabled(false);
        demo->setToolTip(QStringLiteral("Disponível com a Nolvea em execução"));
        demo->setAccessibleDescription(demo->toolTip());
    }
    card->add(new SettingRow(QStringLiteral("Demonstração"),
                             QStringLiteral("Veja todas as animações da pílula sem gravar nada"),
                             demo));
    return card;
}

void GeneralSettings::launchAtLoginToggled(bool on) {
    const LoginItem item = LoginItem::current();
    if (on ? item.registerItem() : item.unregisterItem()) return;
    // Back to what the session really has, without coming here again.
    const QSignalBlocker block(m_launch);
    m_launch->setChecked(item.status() == LoginItem::Status::enabled);
}

SettingsCard* GeneralSettings::permissionsCard() {
    m_permissions = new SettingsCard(QStringLiteral("Permissões"));
    fillPermissions();
    connect(&Permissions::shared(), &Permissions::grantedChanged, this,
            &GeneralSettings::fillPermissions);
    return m_permissions;
}

void GeneralSettings::fillPermissions() {
    QLayout* content = m_permissions->contentLayout();
    while (QLayoutItem* item = content->takeAt(0)) {
        // A button of the row may be the one whose click brought us here.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const auto& rows = GeneralSettingsModel::permissionRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& row = rows[i];
        QWidget* trailing;
        if (Permissions::shared().isGranted(row.kind)) {
            auto* granted = new QWidget;
            auto* h = new QHBoxLayout(granted);
            h->setContentsMargins(0, 0, 0, 0);
            h->setSpacing(4);
            auto* icon = new QLabel;
            icon->setPixmap(Symbols::pixmap(QStringLiteral("checkmark.circle.fill"), 13,
                                            Brand::verde(), devicePixelRatioF()));
            h->addWidget(icon);
            h->addWidget(SettingsText::label(QStringLiteral("Permitido"),
                                             SettingsText::systemFont(12, QFont::Medium),
                                             Brand::verde()));
            granted->setAccessibleName(QStringLiteral("Permitido"));
            trailing = granted;
        } else {
            auto* ask = SiteButton::small(QStringLiteral("Permitir"), SiteKit::Kind::primary);
            ask->setAccessibleDescription(row.title);
            const PermissionKind kind = row.kind;
            connect(ask, &QAbstractButton::clicked, this,
                    [kind] { Permissions::shared().request(kind); });
            trailing = ask;
        }
        m_permissions->add(new SettingRow(row.title, row.detail, trailing));
        if (i + 1 < rows.size()) m_permissions->addDivider();
    }
}

} // namespace nolvea
