#include "ui/menubar/MenuBarView.h"

#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/BrandMark.h"
#include "ui/components/KeyCap.h"
#include "ui/components/StatusDot.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/menubar/ElidedLabel.h"
#include "ui/menubar/MenuBarButton.h"
#include "ui/menubar/MenuBarCard.h"
#include "ui/menubar/MenuBarHeaderBox.h"
#include "ui/menubar/MenuBarModel.h"
#include "ui/menubar/MenuBarStyle.h"
#include "ui/menubar/RecentRow.h"
#include "ui/menubar/SwitchToggle.h"
#include "updates/Updater.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <memory>
#include <optional>

namespace nolvea {

namespace {

QLabel* textLabel(const QString& text, const QFont& font, const QColor& color,
                  QWidget* parent = nullptr) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    return label;
}

ElidedLabel* elided(const QString& text, const QFont& font, const QColor& color) {
    auto* label = new ElidedLabel;
    label->setFont(font);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, color);
    label->setPalette(p);
    label->setFullText(text);
    return label;
}

// A symbol in a frame of `frame` pixels wide; it says nothing to a screen reader.
QLabel* symbolLabel(const QString& symbol, int side, const QColor& color, int frame) {
    auto* label = new QLabel;
    label->setFixedWidth(frame);
    label->setAlignment(Qt::AlignCenter);
    label->setPixmap(Symbols::pixmap(symbol, side, color, label->devicePixelRatioF()));
    label->setAccessibleName(QString());
    label->setAccessibleDescription(QString());
    return label;
}

QVBoxLayout* column(QWidget* owner, int spacing) {
    auto* layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0); // the owner's own margins pad it
    layout->setSpacing(spacing);
    return layout;
}

QHBoxLayout* row(int spacing) {
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

bool toggleValue(const AppSettings& s, MenuBarModel::Toggle t) {
    switch (t) {
    case MenuBarModel::Toggle::aiCleanup:
        return s.aiCleanupEnabled();
    case MenuBarModel::Toggle::agent:
        return s.agentEnabled();
    case MenuBarModel::Toggle::sounds:
        break;
    }
    return s.playSounds();
}

void setToggleValue(AppSettings& s, MenuBarModel::Toggle t, bool on) {
    switch (t) {
    case MenuBarModel::Toggle::aiCleanup:
        s.setAiCleanupEnabled(on);
        return;
    case MenuBarModel::Toggle::agent:
        s.setAgentEnabled(on);
        return;
    case MenuBarModel::Toggle::sounds:
        s.setPlaySounds(on);
        return;
    }
}

} // namespace

MenuBarView::MenuBarView(Sources sources, MenuBarActions actions, QWidget* parent)
    : QWidget(parent)
    , m_sources(sources)
    , m_actions(std::move(actions)) {
    setAccessibleName(QStringLiteral("Nolvea"));
    setFixedWidth(MenuBarModel::kWidth);
    setContentsMargins(14, 14, 14, 14);
    auto* layout = column(this, 12);
    auto slot = [] {
        auto* w = new QWidget;
        auto* l = new QVBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        w->hide();
        return w;
    };
    m_header = new MenuBarHeaderBox(buildHeader());
    layout->addWidget(m_header);
    layout->addWidget(m_updateSlot = slot());
    layout->addWidget(m_permissionsSlot = slot());
    layout->addWidget(buildModelCard());
    layout->addWidget(buildTogglesCard());
    layout->addWidget(m_recentSlot = slot());
    layout->addWidget(buildFooter());

    AppState& state = m_sources.state;
    connect(&state, &AppState::stageChanged, this, [this] {
        updateHeader();
        updateBrandMark();
        if (m_keyCap) m_keyCap->setPressed(m_sources.state.stage() == AppState::Stage::listening);
    });
    connect(&state, &AppState::modeChanged, this, [this] {
        updateHeader();
        updateBrandMark();
    });
    connect(&state, &AppState::statusTextChanged, this, &MenuBarView::updateHeader);
    connect(&state, &AppState::levelsChanged, this, [this] {
        if (isVisible()) updateBrandMark();
    });
    connect(&m_sources.settings, &AppSettings::hotkeyChanged, this, [this] {
        updateHeader();
        updateKeyCap();
    });
    connect(&m_sources.settings, &AppSettings::modelChanged, this, &MenuBarView::updateModelCard);
    connect(&m_sources.settings, &AppSettings::aiProviderChanged, this,
            &MenuBarView::updateModelCard);
    connect(&m_sources.ai, &AIStatus::connectionChanged, this, &MenuBarView::updateModelCard);
    connect(&m_sources.ai, &AIStatus::titleChanged, this, &MenuBarView::updateModelCard);
    connect(&m_sources.permissions, &Permissions::grantedChanged, this,
            &MenuBarView::rebuildPermissionsCard);
    connect(&m_sources.updater, &Updater::phaseChanged, this, &MenuBarView::rebuildUpdateCard);
    connect(&m_sources.history, &HistoryStore::entriesChanged, this,
            &MenuBarView::rebuildRecentCard);

    updateHeader();
    updateBrandMark();
    updateModelCard();
    rebuildUpdateCard();
    rebuildPermissionsCard();
    rebuildRecentCard();
}

QSize MenuBarView::sizeHint() const {
    return {MenuBarModel::kWidth, QWidget::sizeHint().height()};
}

void MenuBarView::refreshOnAppear() {
    m_sources.permissions.refresh();
    m_sources.ai.refresh();
}

void MenuBarView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    updateBrandMark();
}

void MenuBarView::fill(QWidget* slot, QWidget* card) {
    auto* layout = slot->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (card) layout->addWidget(card);
    slot->setVisible(card != nullptr);
}

QWidget* MenuBarView::buildHeader() {
    auto* header = new QWidget;
    header->setContentsMargins(4, 0, 4, 0);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(12);

    m_mark = new BrandMark;
    m_mark->setFixedSize(38, 34);
    m_mark->setAccessibleName(QStringLiteral("Marca da Nolvea"));
    layout->addWidget(m_mark);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    QFont titleFont = BrandFont::isAvailable()
                          ? BrandFont::font(BrandFont::Face::semiBold, 16, QFont::DemiBold)
                          : MenuBarStyle::font(16, QFont::DemiBold);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.2);
    texts->addWidget(textLabel(QStringLiteral("Nolvea"), titleFont, MenuBarStyle::primary()));
    m_status = textLabel(QString(), MenuBarStyle::font(12), MenuBarStyle::secondary());
    m_status->setWordWrap(true);
    texts->addWidget(m_status);
    // One status gives way to the next by a cross-fade.
    m_statusChange = new ReplaceTransition(m_status, Theme::snappy(), [](double p) {
        return TransitionLook{.opacity = std::clamp(p, 0.0, 1.0)};
    });
    layout->addLayout(texts, 1);

    m_keyCapSlot = new QHBoxLayout;
    m_keyCapSlot->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_keyCapSlot);
    updateKeyCap();
    return header;
}

void MenuBarView::updateKeyCap() {
    delete m_keyCap;
    const HotkeyChoice key = m_sources.settings.hotkey();
    m_keyCap = new KeyCap(MenuBarModel::keyCapLabel(key), 26,
                          m_sources.state.stage() == AppState::Stage::listening);
    m_keyCap->setAccessibleName(QStringLiteral("Tecla de atalho: ") + MenuBarModel::keyName(key));
    m_keyCapSlot->addWidget(m_keyCap);
}

void MenuBarView::updateHeader() {
    const AppState& s = m_sources.state;
    const QString line =
        MenuBarModel::statusLine(s.stage(), s.mode(), m_sources.settings.hotkey(), s.statusText());
    if (line == m_status->text()) return;
    m_statusChange->aboutToChange();
    m_status->setText(line);
}

void MenuBarView::updateBrandMark() {
    const AppState& s = m_sources.state;
    m_mark->setInputs(MenuBarModel::brandMark(s.stage(), s.mode(), s.levels()));
}

QWidget* MenuBarView::buildModelCard() {
    auto* card = new MenuBarCard;
    auto* layout = new QHBoxLayout(card);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    m_dot = new StatusDot(m_sources.ai.connection());
    layout->addWidget(m_dot, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    m_aiTitle = elided(QString(), MenuBarStyle::font(12, QFont::DemiBold), MenuBarStyle::primary());
    m_modelLine = elided(QString(), MenuBarStyle::monospace(11), MenuBarStyle::secondary());
    texts->addWidget(m_aiTitle);
    texts->addWidget(m_modelLine);
    layout->addLayout(texts, 1);
    return card;
}

void MenuBarView::updateModelCard() {
    m_dot->setConnection(m_sources.ai.connection());
    m_aiTitle->setFullText(m_sources.ai.title());
    m_modelLine->setFullText(MenuBarModel::modelLine(m_sources.settings.model()));
}

QWidget* MenuBarView::buildTogglesCard() {
    auto* card = new MenuBarCard;
    auto* layout = column(card, 10);
    AppSettings& settings = m_sources.settings;
    for (const MenuBarModel::ToggleRow& spec : MenuBarModel::toggles()) {
        auto* line = row(10);
        auto* symbol = new QLabel;
        symbol->setFixedWidth(18);
        symbol->setAlignment(Qt::AlignCenter);
        line->addWidget(symbol);
        line->addWidget(textLabel(spec.title, MenuBarStyle::font(13), MenuBarStyle::primary()), 1);
        auto* toggle = new SwitchToggle(spec.title);
        line->addWidget(toggle);
        layout->addLayout(line);

        // The symbol's colour follows the switch, the old one shrinking away as the new grows.
        auto* swap = new ReplaceTransition(symbol, Theme::snappy(), [](double p) {
            return Transitions::scaleFade(0.5, QPointF(0.5, 0.5), p);
        });
        const auto shownOn = std::make_shared<std::optional<bool>>();
        const auto show = [symbol, toggle, spec, &settings, swap, shownOn] {
            const bool on = toggleValue(settings, spec.toggle);
            toggle->setChecked(on);
            if (*shownOn == on) return;
            if (shownOn->has_value()) swap->aboutToChange();
            *shownOn = on;
            symbol->setPixmap(Symbols::pixmap(spec.symbol, 12,
                                              on ? Brand::roxoClaro() : MenuBarStyle::secondary(),
                                              symbol->devicePixelRatioF()));
        };
        show();
        connect(toggle, &QAbstractButton::toggled, this,
                [spec, &settings](bool on) { setToggleValue(settings, spec.toggle, on); });
        const auto signal =
            spec.toggle == MenuBarModel::Toggle::aiCleanup ? &AppSettings::aiCleanupEnabledChanged
            : spec.toggle == MenuBarModel::Toggle::agent   ? &AppSettings::agentEnabledChanged
                                                           : &AppSettings::playSoundsChanged;
        connect(&settings, signal, toggle, show);
    }
    return card;
}

void MenuBarView::rebuildUpdateCard() {
    const auto offer = MenuBarModel::updateOffer(m_sources.updater.phase());
    if (!offer) return fill(m_updateSlot, nullptr);
    auto* card = new MenuBarCard;
    auto* layout = new QHBoxLayout(card);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    layout->addWidget(symbolLabel(QStringLiteral("sparkles"), 14, Brand::roxoClaro(), 20));
    auto* texts = new QVBoxLayout;
    texts->setSpacing(1);
    texts->addWidget(
        elided(offer->title, MenuBarStyle::font(12, QFont::DemiBold), MenuBarStyle::primary()));
    texts->addWidget(elided(offer->notes, MenuBarStyle::font(11), MenuBarStyle::secondary()));
    layout->addLayout(texts, 1);
    auto* install = new MenuBarButton(QStringLiteral("Atualizar"), QString(), false,
                                      MenuBarButton::Size::small, Brand::roxo());
    install->setAccessibleName(QStringLiteral("Atualizar para a versão ") + offer->release.version);
    const UpdateRelease release = offer->release;
    connect(install, &QAbstractButton::clicked, this,
            [this, release] { m_sources.updater.install(release); });
    layout->addWidget(install);
    fill(m_updateSlot, card);
}

void MenuBarView::rebuildPermissionsCard() {
    const auto missing = MenuBarModel::missingPermissions(m_sources.permissions.grantedMask());
    if (missing.isEmpty()) return fill(m_permissionsSlot, nullptr);
    const QColor orange(255, 149, 0);
    auto* card = new MenuBarCard(Brand::withOpacity(orange, 0.12));
    auto* layout = column(card, 8);
    auto* heading = row(6);
    heading->addWidget(
        symbolLabel(QStringLiteral("exclamationmark.triangle.fill"), 12, orange, 14));
    heading->addWidget(textLabel(QStringLiteral("Faltam permissões"),
                                 MenuBarStyle::font(12, QFont::DemiBold), orange),
                       1);
    layout->addLayout(heading);
    for (const MenuBarModel::PermissionRow& r : missing) {
        auto* line = row(8);
        line->addWidget(symbolLabel(r.symbol, 12, MenuBarStyle::primary(), 18));
        line->addWidget(textLabel(r.name, MenuBarStyle::font(12), MenuBarStyle::primary()), 1);
        auto* allow = new MenuBarButton(QStringLiteral("Permitir"), QString(), false,
                                        MenuBarButton::Size::small, Brand::roxo());
        allow->setAccessibleName(QStringLiteral("Permitir ") + r.name);
        const PermissionKind kind = r.kind;
        connect(allow, &QAbstractButton::clicked, this,
                [this, kind] { m_sources.permissions.request(kind); });
        line->addWidget(allow);
        layout->addLayout(line);
    }
    fill(m_permissionsSlot, card);
}

void MenuBarView::rebuildRecentCard() {
    const auto rows = MenuBarModel::recentRows(m_sources.history.entries());
    if (rows.isEmpty()) return fill(m_recentSlot, nullptr);
    auto* card = new MenuBarCard;
    auto* layout = column(card, 8);
    QFont headingFont = MenuBarStyle::font(10, QFont::DemiBold);
    layout->addWidget(
        textLabel(QStringLiteral("Recentes"), headingFont, MenuBarStyle::secondary()));
    for (const MenuBarModel::RecentRow& r : rows) {
        auto* button = new RecentRow(r.symbol, r.output);
        const QString output = r.output;
        connect(button, &QAbstractButton::clicked, this, [output] {
            QClipboard* clipboard = QGuiApplication::clipboard();
            clipboard->clear();
            clipboard->setText(output);
        });
        layout->addWidget(button);
    }
    fill(m_recentSlot, card);
}

QWidget* MenuBarView::buildFooter() {
    auto* footer = new QWidget;
    auto* layout = new QHBoxLayout(footer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    const MenuBarModel::Reachable reachable{bool(m_actions.openHistory),
                                            bool(m_actions.openSettings), bool(m_actions.runDemo)};
    for (const MenuBarModel::FooterButton& b : MenuBarModel::footer(reachable)) {
        if (b.action == MenuBarModel::Action::demo) layout->addStretch(1);
        auto* button =
            new MenuBarButton(b.title, b.symbol, b.iconOnly, MenuBarButton::Size::regular);
        button->setToolTip(b.tooltip);
        button->setAccessibleDescription(b.tooltip);
        button->setEnabled(b.enabled);
        std::function<void()> action;
        switch (b.action) {
        case MenuBarModel::Action::history:
            action = m_actions.openHistory;
            break;
        case MenuBarModel::Action::settings:
            action = m_actions.openSettings;
            break;
        case MenuBarModel::Action::demo:
            action = m_actions.runDemo;
            break;
        case MenuBarModel::Action::quit:
            action = m_actions.quit;
            break;
        }
        if (action) connect(button, &QAbstractButton::clicked, this, [action] { action(); });
        layout->addWidget(button);
    }
    return footer;
}

} // namespace nolvea
