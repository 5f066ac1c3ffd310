#include "input/HotkeyMonitor.h"

#include "platform/DesktopError.h"
#include "platform/KeyEventSource.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QPointer>

namespace nolvea {

namespace {

KeyEvent::Key keyOf(HotkeyChoice choice) {
    switch (choice) {
    case HotkeyChoice::fn:
        return KeyEvent::Key::menu;
    case HotkeyChoice::rightOption:
        return KeyEvent::Key::rightAlt;
    case HotkeyChoice::rightCommand:
        return KeyEvent::Key::rightSuper;
    }
    return KeyEvent::Key::menu;
}

bool isTriggerCandidate(KeyEvent::Key key) {
    return key == KeyEvent::Key::menu || key == KeyEvent::Key::rightAlt ||
           key == KeyEvent::Key::rightSuper;
}

} // namespace

HotkeyMonitor::HotkeyMonitor(std::shared_ptr<KeyEventSource> source, QObject* parent)
    : QObject(parent)
    , m_source(source ? std::move(source) : Platform::find<KeyEventSource>()) {}

HotkeyMonitor::~HotkeyMonitor() {
    if (m_running) m_source->setTriggerKey(std::nullopt);
}

void HotkeyMonitor::setTrigger(HotkeyChoice trigger) {
    if (trigger == m_trigger) return;
    m_trigger = trigger;
    if (m_running) m_source->setTriggerKey(keyOf(m_trigger));
    // The old key's release would no longer be recognised: let go now rather than hang.
    setTriggerDown(false);
}

std::optional<DesktopError> HotkeyMonitor::lastError() const {
    if (!m_lastError) return std::nullopt;
    return *m_lastError;
}

void HotkeyMonitor::start() {
    if (m_running) return;
    if (tryStart()) return;
    if (m_lastError && m_lastError->kind() == DesktopError::Kind::noX11) return;
    QPointer<HotkeyMonitor> self(this);
    m_retryTimer = Clock::shared().schedule(std::chrono::seconds(2), true, [self] {
        if (self && self->tryStart()) self->m_retryTimer.reset();
    });
}

bool HotkeyMonitor::tryStart() {
    if (!m_source) {
        m_lastError = std::make_unique<DesktopError>(DesktopError::Kind::noX11);
        return false;
    }
    QPointer<HotkeyMonitor> self(this);
    // Runs on the listener's thread: only hand the event over to ours.
    auto sink = [self](const KeyEvent& event) {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, event] {
                if (self) self->handle(event);
            },
            Qt::QueuedConnection);
    };
    if (auto error = m_source->start(std::move(sink))) {
        m_lastError = std::make_unique<DesktopError>(*error);
        return false;
    }
    m_lastError.reset();
    m_running = true;
    m_source->setTriggerKey(keyOf(m_trigger));
    return true;
}

void HotkeyMonitor::setTriggerDown(bool down) {
    if (down == m_triggerDown) return;
    m_triggerDown = down;
    if (down)
        onTriggerDown();
    else
        onTriggerUp();
}

void HotkeyMonitor::handle(const KeyEvent& event) {
    if (onKey) onKey(event);
    using Key = KeyEvent::Key;
    if (event.key == keyOf(m_trigger)) {
        setTriggerDown(event.pressed);
        return;
    }
    if (event.key == Key::leftControl || event.key == Key::rightControl) {
        const bool before = m_leftControlDown || m_rightControlDown;
        (event.key == Key::leftControl ? m_leftControlDown : m_rightControlDown) = event.pressed;
        const bool after = m_leftControlDown || m_rightControlDown;
        if (after != before) onControlChange(after);
        return;
    }
    if (!event.pressed) return;
    if (event.key == Key::escape) {
        onEscape();
        return;
    }
    // Modifiers, and the keys that could be a trigger, change state but type nothing.
    if (event.key == Key::modifier || isTriggerCandidate(event.key)) return;
    if (m_triggerDown) onOtherKey();
}

} // namespace nolvea
