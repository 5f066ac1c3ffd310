#include "ui/menubar/MenuBarExtra.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "ui/components/BrandMark.h"
#include "ui/components/Symbols.h"
#include "ui/menubar/MenuBarModel.h"
#include "ui/menubar/MenuBarWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QSystemTrayIcon>

#include <cmath>

namespace nolvea {

namespace {

constexpr int kPulseSteps = 8;
constexpr int kPulseIntervalMs = 125;

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
    m_tray->setIcon(iconFor(m_label, 1));
    updateToolTip();
    m_tray->show();
}

MenuBarExtra::~MenuBarExtra() = default;

QIcon MenuBarExtra::iconFor(const MenuBarLabel& label, double strength) const {
    if (label.brandMark) return BrandMarkImage::menuBar();
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    constexpr int side = 22;
    const QPixmap symbol = Symbols::pixmap(label.symbol, side, ink, 2);
    if (symbol.isNull()) return BrandMarkImage::menuBar();
    if (strength >= 1) return QIcon(symbol);
    QPixmap faded(symbol.size());
    faded.setDevicePixelRatio(symbol.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter p(&faded);
    p.setOpacity(strength);
    p.drawPixmap(0, 0, symbol);
    p.end();
    return QIcon(faded);
}

void MenuBarExtra::updateLabel() {
    const MenuBarLabel label =
        MenuBarIconModel::label(m_sources.state.stage(), m_sources.state.mode());
    updateToolTip();
    if (label == m_label) return;
    m_label = label;
    m_pulseStep = 0;
    m_tray->setIcon(iconFor(label, 1));
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

// A breathing ink while the assistant listens or works: full, fading to 40 % and back.
void MenuBarExtra::pulse() {
    m_pulseStep = (m_pulseStep + 1) % kPulseSteps;
    const double phase = double(m_pulseStep) / kPulseSteps;
    const double strength = 0.4 + 0.6 * (0.5 + 0.5 * std::cos(2 * M_PI * phase));
    m_tray->setIcon(iconFor(m_label, strength));
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
