#include "ui/onboarding/HotkeyStep.h"

#include "audio/AudioRecorder.h"
#include "core/AppSettings.h"
#include "input/HotkeyMonitor.h"
#include "support/Clock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/Folha.h"
#include "ui/components/KeyCap.h"
#include "ui/components/Regua.h"
#include "ui/onboarding/KeyboardKey.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/StepHeader.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace nolvea {

HotkeyStep::HotkeyStep(AppSettings& settings, OnboardingHost host, QWidget* parent)
    : OnboardingPage(parent)
    , m_settings(settings)
    , m_host(std::move(host))
    , m_levels(kLevelCount, 0.0f) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(18);
    layout->addWidget(new StepHeader(QStringLiteral("Sua tecla para falar"),
                                     QStringLiteral("Segure para ditar e solte para colar. Com ⌃ "
                                                    "Control junto, você fala com o agente."),
                                     this));

    auto* card = new Folha(0, 14, false, this);
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(0, 16, 0, 16);
    column->setSpacing(12);
    auto* row = new QHBoxLayout;
    row->setSpacing(7);
    row->addStretch(1);
    struct Spec {
        const char* symbol;
        const char* name;
        int width;
        std::optional<HotkeyChoice> choice;
    };
    const Spec specs[] = {{"🌐", "fn", 60, HotkeyChoice::fn},
                          {"⌃", "control", 60, std::nullopt},
                          {"⌥", "option", 60, std::nullopt},
                          {"⌘", "command", 72, std::nullopt},
                          {"", "", 196, std::nullopt},
                          {"⌘", "command", 72, HotkeyChoice::rightCommand},
                          {"⌥", "option", 60, HotkeyChoice::rightOption}};
    for (const Spec& s : specs) {
        auto* key = new KeyboardKey(QString::fromUtf8(s.symbol), QString::fromUtf8(s.name), s.width,
                                    s.choice, card);
        if (s.choice)
            connect(key, &QAbstractButton::clicked, this,
                    [this, choice = *s.choice] { select(choice); });
        m_keys.push_back(key);
        row->addWidget(key);
    }
    row->addStretch(1);
    column->addLayout(row);
    QLabel* hint = OnboardingFonts::label(
        QStringLiteral("Clique numa tecla destacada, ou simplesmente aperte a que quer usar."),
        OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::suave(), card);
    hint->setAlignment(Qt::AlignCenter);
    column->addWidget(hint);
    layout->addWidget(card);

    auto* panel = new QHBoxLayout;
    panel->setContentsMargins(0, 6, 0, 6);
    panel->setSpacing(16);
    BrandMarkInputs inputs;
    inputs.animated = true;
    inputs.echoes = true;
    m_mark = new BrandMark(inputs, this);
    m_mark->setFixedSize(58, 46);
    panel->addWidget(m_mark);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    m_title = OnboardingFonts::label({}, OnboardingFonts::brand(19, OnboardingFonts::Weight::bold),
                                     Brand::tinta(), this);
    m_detail = OnboardingFonts::label(
        {}, OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::suave(), this);
    texts->addWidget(m_title);
    texts->addWidget(m_detail);
    panel->addLayout(texts, 1);
    m_check = OnboardingFonts::symbol(QStringLiteral("checkmark"), 20, Brand::verde(), this);
    m_check->setAccessibleName(QStringLiteral("Tecla funcionando"));
    m_check->hide();
    m_checkMotion = new PageMotionEffect(m_check);
    m_check->setGraphicsEffect(m_checkMotion);
    m_checkMotion->setLook(OnboardingMotion::checkIn(0));
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_checkIn.advance(dt);
        m_checkMotion->setLook(OnboardingMotion::checkIn(m_checkIn.value()));
        if (!moving && m_checkIn.value() <= 0) m_check->hide();
        return moving;
    });
    panel->addWidget(m_check);
    layout->addLayout(panel);

    layout->addWidget(new Regua(true, this));
    buildTips();
    layout->addWidget(m_tips);
    layout->addStretch(1);

    connect(&settings, &AppSettings::hotkeyChanged, this, [this] {
        buildTips();
        render();
    });
    render();
}

HotkeyStep::~HotkeyStep() {
    leaveScreen();
}

void HotkeyStep::buildTips() {
    auto* tips = new QWidget(this);
    auto* grid = new QGridLayout(tips);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(28);
    grid->setVerticalSpacing(0);
    const QString k = HotkeyTest::glyph(m_settings.hotkey());
    struct Tip {
        QStringList keys;
        QString title;
        QString detail;
    };
    const Tip list[] = {
        {{k}, QStringLiteral("Segure e fale"), QStringLiteral("Ditado em qualquer app")},
        {{k, QStringLiteral("⌃")},
         QStringLiteral("Com Control: agente"),
         QStringLiteral("“Me lembra de ligar pra Renata às 15h”")},
        {{k, QStringLiteral("×2")},
         QStringLiteral("Toque duas vezes"),
         QStringLiteral("Mãos livres; toque de novo para terminar")},
        {{QStringLiteral("✎"), QStringLiteral("⌃")},
         QStringLiteral("Com texto selecionado"),
         QStringLiteral("“Deixa mais formal”, “traduz pro inglês”")}};
    int i = 0;
    for (const Tip& t : list) {
        auto* cell = new QWidget(tips);
        auto* v = new QVBoxLayout(cell);
        v->setContentsMargins(0, 11, 0, 0);
        v->setSpacing(11);
        auto* h = new QHBoxLayout;
        h->setSpacing(10);
        auto* caps = new QWidget(cell);
        caps->setFixedWidth(70);
        auto* capsRow = new QHBoxLayout(caps);
        capsRow->setContentsMargins(0, 0, 0, 0);
        capsRow->setSpacing(3);
        for (const QString& key : t.keys)
            capsRow->addWidget(new KeyCap(key, 24, false, caps));
        capsRow->addStretch(1);
        h->addWidget(caps);
        auto* words = new QVBoxLayout;
        words->setSpacing(2);
        words->addWidget(OnboardingFonts::label(
            t.title, OnboardingFonts::brand(14, OnboardingFonts::Weight::bold), Brand::tinta(),
            cell));
        QLabel* detail = OnboardingFonts::label(
            t.detail, OnboardingFonts::brand(12, OnboardingFonts::Weight::regular), Brand::suave(),
            cell);
        detail->setWordWrap(false);
        words->addWidget(detail);
        h->addLayout(words, 1);
        v->addLayout(h);
        v->addWidget(new Regua(false, cell));
        grid->addWidget(cell, i / 2, i % 2);
        ++i;
    }
    if (m_tips) {
        if (auto* l = layout()) l->replaceWidget(m_tips, tips);
        m_tips->deleteLater();
    }
    m_tips = tips;
}

QString HotkeyStep::titleText() const {
    return m_title->text();
}

QString HotkeyStep::detailText() const {
    return m_detail->text();
}

void HotkeyStep::select(HotkeyChoice choice) {
    if (m_settings.hotkey() == choice) return;
    m_settings.setHotkey(choice);
    if (m_monitor) m_monitor->setTrigger(m_settings.hotkey());
    m_test.chose();
    render();
}

void HotkeyStep::handle(KeyEvent::Key key, bool down) {
    const bool wasPressed = m_test.pressed();
    const HotkeyTest::Reaction r = m_test.handle(key, down, m_settings.hotkey());
    if (r.select) {
        m_settings.setHotkey(*r.select);
        if (m_monitor) m_monitor->setTrigger(m_settings.hotkey());
    }
    if (r.cue) Sounds::play(*r.cue);
    if (wasPressed && !m_test.pressed()) {
        m_levels.fill(0.0f);
        stopRecording();
    } else if (!wasPressed && m_test.pressed()) {
        startRecording();
    }
    render();
}

void HotkeyStep::render() {
    const HotkeyChoice chosen = m_settings.hotkey();
    for (KeyboardKey* key : m_keys) {
        const bool isChosen = key->choice() == chosen;
        key->setState(isChosen, isChosen && m_test.pressed());
    }
    m_title->setText(m_test.title(chosen));
    m_detail->setText(m_test.detail());
    // The check mark grows in as the test passes and shrinks away when another key is chosen.
    if (m_test.worked()) m_check->show();
    m_driver->animate(m_checkIn, m_test.worked() ? 1 : 0, Theme::morph());
    m_checkMotion->setLook(OnboardingMotion::checkIn(m_checkIn.value()));
    if (m_checkIn.value() <= 0) m_check->hide();
    BrandMarkInputs inputs = m_mark->inputs();
    inputs.level = m_test.pressed() ? 0.7 : 0;
    inputs.levels = m_test.pressed() ? std::optional(m_levels) : std::nullopt;
    m_mark->setInputs(inputs);
}

void HotkeyStep::tick() {
    if (!m_test.pressed()) return;
    // The display scrolls by one with the newest microphone level.
    m_levels.removeFirst();
    m_levels.append(m_lastLevel->load());
    render();
}

void HotkeyStep::startRecording() {
    if (m_recorder) return;
    try {
        auto recorder = std::make_unique<AudioRecorder>();
        std::weak_ptr<std::atomic<float>> last = m_lastLevel;
        // Runs on the audio thread: only keep the number.
        recorder->onLevel = [last](float level) {
            if (auto l = last.lock()) l->store(level);
        };
        recorder->start();
        m_recorder = std::move(recorder);
    } catch (...) {
        // No microphone: the test still works, the display stays flat.
    }
}

void HotkeyStep::stopRecording() {
    if (!m_recorder) return;
    m_recorder->stop();
    m_recorder.reset();
    m_lastLevel->store(0);
}

void HotkeyStep::appear() {
    if (m_host.setSuspended) m_host.setSuspended(true);
    m_monitor = m_host.hotkeys ? m_host.hotkeys() : nullptr;
    if (m_monitor) {
        QPointer<HotkeyStep> self(this);
        m_monitor->onKey = [self](const KeyEvent& event) {
            // Keys pressed while another application is in front are not the test's; a
            // release still ends a press the test saw, so nothing stays held.
            if (self && (self->window()->isActiveWindow() || !event.pressed))
                self->handle(event.key, event.pressed);
        };
    }
    m_loop = Clock::shared().schedule(kTick, true, [this] { tick(); });
}

void HotkeyStep::disappear() {
    if (m_host.setSuspended) m_host.setSuspended(false);
    if (m_monitor) m_monitor->onKey = nullptr;
    m_monitor = nullptr;
    m_loop.reset();
    stopRecording();
}

} // namespace nolvea
