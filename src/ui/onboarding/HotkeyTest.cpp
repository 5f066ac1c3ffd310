#include "ui/onboarding/HotkeyTest.h"

namespace nolvea {

std::optional<HotkeyChoice> HotkeyTest::choiceOf(KeyEvent::Key key) {
    switch (key) {
    case KeyEvent::Key::menu:
        return HotkeyChoice::fn;
    case KeyEvent::Key::rightAlt:
        return HotkeyChoice::rightOption;
    case KeyEvent::Key::rightSuper:
        return HotkeyChoice::rightCommand;
    default:
        return std::nullopt;
    }
}

KeyEvent::Key HotkeyTest::keyOf(HotkeyChoice choice) {
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

HotkeyTest::Reaction HotkeyTest::handle(KeyEvent::Key key, bool down, HotkeyChoice chosen) {
    Reaction r;
    const auto choice = choiceOf(key);
    if (!choice) return r;
    if (down && *choice != chosen) {
        r.select = *choice;
        chose();
        chosen = *choice;
        r.changed = true;
    }
    if (*choice != chosen) return r;
    if (down) {
        r.changed = r.changed || !m_pressed;
        m_pressed = true;
        r.cue = Sounds::Cue::start;
    } else if (m_pressed) {
        m_pressed = false;
        if (!m_worked) r.cue = Sounds::Cue::success;
        m_worked = true;
        r.changed = true;
    }
    return r;
}

void HotkeyTest::chose() {
    m_worked = false;
}

QString HotkeyTest::title(HotkeyChoice chosen) const {
    if (m_pressed) return QStringLiteral("Isso! Agora é só falar.");
    if (m_worked) return QStringLiteral("Tecla funcionando");
    return QStringLiteral("Teste: segure ") + label(chosen);
}

QString HotkeyTest::detail() const {
    if (m_pressed) return QStringLiteral("Ao soltar, o texto aparece onde está o cursor.");
    if (m_worked) return QStringLiteral("Toque duas vezes para o modo mãos livres. Esc cancela.");
    return QStringLiteral("O símbolo acende enquanto a tecla estiver pressionada.");
}

QString HotkeyTest::label(HotkeyChoice choice) {
    switch (choice) {
    case HotkeyChoice::fn:
        return QStringLiteral("Fn / 🌐");
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥ Option direito");
    case HotkeyChoice::rightCommand:
        return QStringLiteral("⌘ Command direito");
    }
    return {};
}

QString HotkeyTest::glyph(HotkeyChoice choice) {
    switch (choice) {
    case HotkeyChoice::fn:
        return QStringLiteral("fn");
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥");
    case HotkeyChoice::rightCommand:
        return QStringLiteral("⌘");
    }
    return {};
}

} // namespace nolvea
