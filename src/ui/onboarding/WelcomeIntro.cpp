#include "ui/onboarding/WelcomeIntro.h"

#include "core/AppSettings.h"
#include "support/Clock.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"
#include "ui/components/Wordmark.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/PageTexts.h"
#include "ui/onboarding/SnapshotLayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include <cmath>

namespace nolvea {

namespace {

constexpr int kMarkWidth = 150, kMarkHeight = 120, kLogoHeight = 170, kRing = 150;

PageMotionEffect* motion(QWidget* w) {
    auto* effect = new PageMotionEffect(w);
    w->setGraphicsEffect(effect);
    return effect;
}

} // namespace

WelcomeIntro::WelcomeIntro(AppSettings& settings, std::function<void()> onStart, QWidget* parent)
    : OnboardingPage(parent)
    , m_settings(settings) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);

    // The logo area: the mark centred in it, the ring drawn around the mark by the page.
    BrandMarkInputs inputs;
    inputs.level = 0.15;
    inputs.animated = true;
    inputs.echoes = true;
    m_mark = new BrandMark(inputs, this);
    m_mark->setFixedSize(kMarkWidth, kMarkHeight);
    m_mark->setAccessibleName(QStringLiteral("Nolvea"));
    layout->addSpacing((kLogoHeight - kMarkHeight) / 2);
    layout->addWidget(m_mark, 0, Qt::AlignHCenter);
    layout->addSpacing((kLogoHeight - kMarkHeight) / 2 + 26);

    m_title = new QLabel(PageTexts::greetings().first(), this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setAlignment(Qt::AlignCenter);
    m_title->setFixedHeight(84);
    SiteKit::applyTitle(m_title, 68);
    layout->addWidget(m_title);

    m_text = new QWidget(this);
    auto* text = new QVBoxLayout(m_text);
    text->setContentsMargins(0, 14, 0, 0);
    text->setSpacing(10);
    auto* line = new QHBoxLayout;
    line->setSpacing(7);
    line->addStretch(1);
    line->addWidget(OnboardingFonts::label(
        QStringLiteral("Esta é a"), OnboardingFonts::brand(26, OnboardingFonts::Weight::regular),
        Brand::suave(), m_text));
    auto* word = new Wordmark(26, Brand::tinta(), m_text);
    word->setAccessibleName(Wordmark::text());
    line->addWidget(word);
    line->addStretch(1);
    text->addLayout(line);
    QLabel* description = OnboardingFonts::label(
        QStringLiteral("Fale em qualquer app e veja o texto aparecer, limpo.\nPeça tarefas e ela "
                       "faz por você. Tudo no seu Mac."),
        OnboardingFonts::brand(16, OnboardingFonts::Weight::regular), Brand::suave(), m_text);
    description->setAlignment(Qt::AlignCenter);
    text->addWidget(description);
    layout->addWidget(m_text);
    layout->addStretch(1);

    m_buttons = new QWidget(this);
    auto* buttons = new QVBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 46);
    buttons->setSpacing(10);
    m_start = new SiteButton(QStringLiteral("Começar"), SiteKit::Kind::primary,
                             SiteKit::Size::large, m_buttons);
    m_start->setSymbol(QStringLiteral("arrow.right"), SiteButton::SymbolPlace::trailing);
    m_start->setAccessibleName(QStringLiteral("Começar"));
    connect(m_start, &QAbstractButton::clicked, this,
            [onStart = std::move(onStart)] { onStart(); });
    buttons->addWidget(m_start, 0, Qt::AlignHCenter);
    QLabel* time = OnboardingFonts::label(
        QStringLiteral("Leva uns 2 minutos"),
        OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::chuva(), m_buttons);
    time->setAlignment(Qt::AlignCenter);
    buttons->addWidget(time);
    layout->addWidget(m_buttons);

    m_markMotion = motion(m_mark);
    m_titleMotion = motion(m_title);
    m_textMotion = motion(m_text);
    m_buttonsMotion = motion(m_buttons);
    m_driver = new FrameDriver(this, [this](double dt) { return step(dt); });

    // Built in the final state: an offscreen rendering shows the whole page; showing it on
    // screen starts from the beginning.
    jumpToEnd();
}

WelcomeIntro::~WelcomeIntro() {
    leaveScreen();
}

QString WelcomeIntro::titleText() const {
    return m_title->text();
}

WelcomeIntro::Progress WelcomeIntro::progress() const {
    return {m_markIn.value(), m_ripple.value(), m_titleIn.value(),
            m_word.value(),   m_textIn.value(), m_buttonsIn.value()};
}

void WelcomeIntro::jumpToEnd() {
    m_steps.clear();
    m_phase = 4;
    m_ring = false;
    delete m_oldWord.data();
    for (SpringValue* v : {&m_markIn, &m_word, &m_textIn, &m_buttonsIn})
        v->jump(1);
    m_titleIn.jump(1);
    m_ripple.jump(0);
    const QString greeting =
        PageTexts::finalGreeting(m_settings.userName(), AppSettings::suggestedName());
    m_title->setText(greeting);
    m_title->setAccessibleName(greeting);
    applyLooks();
}

void WelcomeIntro::animate(SpringValue& value, const OnboardingMotion::Curve& curve) {
    m_driver->animate(value, 1, curve.spring);
}

void WelcomeIntro::changeWord(const QString& word, const OnboardingMotion::Curve& curve) {
    if (word == m_title->text()) return;
    // The old word leaves as a picture while the new one rises in.
    delete m_oldWord.data();
    if (isVisible() && !FrameClock::shared().reduceMotion()) {
        m_titleMotion->setLook({});
        m_oldWord = new SnapshotLayer(m_title, this);
        m_oldWord->show();
        m_word.jump(0);
    }
    m_title->setText(word);
    m_title->setAccessibleName(word);
    animate(m_word, curve);
    applyLooks();
}

void WelcomeIntro::play(const OnboardingMotion::Beat& beat) {
    using K = OnboardingMotion::Beat::Kind;
    switch (beat.kind) {
    case K::ripple:
        if (FrameClock::shared().reduceMotion()) {
            m_ripple.jump(1);
        } else {
            m_ripple = EaseOutValue(0, beat.curve.duration);
            m_ripple.retarget(1);
            m_driver->kick();
        }
        break;
    case K::word:
        changeWord(beat.word, beat.curve);
        break;
    case K::phase:
        m_phase = beat.phase;
        if (beat.phase == 1) {
            animate(m_markIn, beat.curve);
            m_breath = Clock::shared().schedule(std::chrono::milliseconds(450), true, [this] {
                m_mark->setLevel(0.05 + 0.4 * QRandomGenerator::global()->generateDouble());
            });
        } else if (beat.phase == 2) {
            if (FrameClock::shared().reduceMotion()) {
                m_titleIn.jump(1);
            } else {
                m_titleIn = EaseOutValue(0, beat.curve.duration);
                m_titleIn.retarget(1);
                m_driver->kick();
            }
        } else if (beat.phase == 3) {
            animate(m_textIn, beat.curve);
            changeWord(
                PageTexts::finalGreeting(m_settings.userName(), AppSettings::suggestedName()),
                beat.curve);
        } else if (beat.phase == 4) {
            animate(m_buttonsIn, beat.curve);
        }
        break;
    }
    applyLooks();
}

void WelcomeIntro::appear() {
    if (FlatGlass::isFlat(this) || FrameClock::shared().reduceMotion()) {
        jumpToEnd();
        // Reduced motion keeps the ring at rest around the mark; flat shows none.
        m_ring = !FlatGlass::isFlat(this);
        update();
        return;
    }
    // Phase 0: only the resting ring.
    m_steps.clear();
    m_phase = 0;
    m_ring = true;
    for (SpringValue* v : {&m_markIn, &m_textIn, &m_buttonsIn})
        v->jump(0);
    m_titleIn.jump(0);
    m_ripple.jump(0);
    m_word.jump(1);
    m_title->setText(PageTexts::greetings().first());
    m_title->setAccessibleName(m_title->text());
    applyLooks();
    Clock& clock = Clock::shared();
    for (const auto& beat : OnboardingMotion::welcomeTimeline(PageTexts::greetings()))
        m_steps.push_back(clock.schedule(std::chrono::milliseconds(std::llround(beat.at * 1000)),
                                         false, [this, beat] { play(beat); }));
}

void WelcomeIntro::disappear() {
    m_breath.reset();
    jumpToEnd();
}

bool WelcomeIntro::step(double dt) {
    bool moving = false;
    for (SpringValue* v : {&m_markIn, &m_word, &m_textIn, &m_buttonsIn})
        moving = v->advance(dt) || moving;
    moving = m_ripple.advance(dt) || moving;
    moving = m_titleIn.advance(dt) || moving;
    if (m_word.isSettled() && m_word.value() == 1) delete m_oldWord.data();
    applyLooks();
    update();
    return moving;
}

void WelcomeIntro::applyLooks() {
    m_markMotion->setLook(OnboardingMotion::welcomeMark(m_markIn.value()));
    MotionLook title = OnboardingMotion::wordIn(m_word.value());
    title.opacity *= std::clamp(m_titleIn.value(), 0.0, 1.0);
    m_titleMotion->setLook(title);
    if (m_oldWord) {
        MotionLook old = OnboardingMotion::wordOut(m_word.value());
        old.opacity *= std::clamp(m_titleIn.value(), 0.0, 1.0);
        m_oldWord->setLook(old);
    }
    m_textMotion->setLook(OnboardingMotion::welcomeText(m_textIn.value()));
    m_buttonsMotion->setLook(OnboardingMotion::welcomeButtons(m_buttonsIn.value()));
}

void WelcomeIntro::paintEvent(QPaintEvent*) {
    if (!m_ring) return;
    const MotionLook ring = OnboardingMotion::welcomeRing(m_ripple.value());
    if (ring.opacity <= 0.001) return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(ring.opacity);
    p.setPen(QPen(Brand::withOpacity(Brand::tinta(), 0.18), 1.5));
    p.setBrush(Qt::NoBrush);
    const double r = kRing / 2.0 * ring.scale;
    p.drawEllipse(QRectF(m_mark->geometry()).center(), r, r);
}

} // namespace nolvea
