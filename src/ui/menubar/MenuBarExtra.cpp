#include "ui/menubar/MenuBarExtra.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "ui/components/BrandMarkImage.h"
#include "ui/components/Symbols.h"
#include "ui/menubar/MenuBarModel.h"
#include "ui/menubar/MenuBarWindow.h"

#include <QGuiApplication>
#include <QPalette>
#include <QSystemTrayIcon>

namespace nolvea {

namespace {

constexpr int kPulseIntervalMs = 200;

} // namespace

MenuBarExtra::MenuBarExtra(MenuBarView::Sources sources, MenuBarActions actions, QObject* parent)
    : QObject(parent)
    , m_sources(sources)
    , m_window(std::make_unique<MenuBarWindow>(new MenuBarView(sources, std::move(actions))))
    , m_tray(new QSystemTrayIcon(this)) {
    m_pulse.setInterval(kPulseIntervalMs);
    connect(&m_pulse, &QTimer::timeout, this, &MenuBarExtra::pulse);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::Context ||
            r == QSystemTrayIcon::DoubleClick)
            toggleWindow();
    });
    connect(&m_sources.state, &AppState::stageChanged, this, &MenuBarExtra::updateLabel);
    connect(&m_sources.state, &AppState::modeChanged, this, &MenuBarExtra::updateLabel);
    connect(&m_sources.state, &AppState::statusTextChanged, this, &MenuBarExtra::updateToolTip);
    connect(&m_sources.settings, &AppSettings::hotkeyChanged, this, &MenuBarExtra::updateToolTip);
    m_label = MenuBarIconModel::label(m_sources.state.stage(), m_sources.state.mode());
    m_tray->setIcon(iconFor(m_label));
    updateToolTip();
    m_tray->show();
}

MenuBarExtra::~MenuBarExtra() = default;

QIcon MenuBarExtra::iconFor(const MenuBarLabel& label, std::optional<int> step) const {
    if (label.brandMark) return BrandMarkImage::menuBar();
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    constexpr int side = 22;
    const QPixmap symbol =
        step ? Symbols::layeredPixmap(
                   label.symbol, side, ink,
                   MenuBarIconModel::layerOpacities(Symbols::layerCount(label.symbol), *step), 2)
             : Symbols::pixmap(label.symbol, side, ink, 2);
    if (symbol.isNull()) return BrandMarkImage::menuBar();
    return QIcon(symbol);
}

void MenuBarExtra::updateLabel() {
    const MenuBarLabel label =
        MenuBarIconModel::label(m_sources.state.stage(), m_sources.state.mode());
    updateToolTip();
    if (label == m_label) return;
    m_label = label;
    m_pulseStep = 0;
    m_tray->setIcon(label.effectActive ? iconFor(label, 0) : iconFor(label));
    if (label.effectActive)
        m_pulse.start();
    else
        m_pulse.stop();
}

void MenuBarExtra::updateToolTip() {
    const AppState& s = m_sources.state;
    m_tray->setToolTip(
        QStringLiteral("Nolvea — ") +
        MenuBarModel::statusLine(s.stage(), s.mode(), m_sources.settings.hotkey(), s.statusText()));
}

void MenuBarExtra::pulse() {
    m_tray->setIcon(iconFor(m_label, ++m_pulseStep));
}

void MenuBarExtra::toggleWindow() {
    if (m_window->isVisible()) {
        m_window->hide();
        return;
    }
    if (m_window->closedJustNow()) return;
    m_window->open(m_tray->geometry());
}

void MenuBarExtra::showWindow() {
    if (m_window->isVisible()) {
        m_window->raise();
        m_window->activateWindow();
        return;
    }
    m_window->open(m_tray->geometry());
}

} // namespace nolvea
