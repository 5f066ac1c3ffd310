#include "ui/onboarding/WelcomeIntro.h"

#include "core/AppSettings.h"
#include "support/Clock.h"
#include "ui/animation/FrameClock.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"
#include "ui/components/Wordmark.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/PageTexts.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QRandomGenerator>
#include <QVBoxLayout>

namespace nolvea {

namespace {

void setOpacity(QWidget* w, bool shown) {
    auto* effect = qobject_cast<QGraphicsOpacityEffect*>(w->graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(w);
        w->setGraphicsEffect(effect);
    }
    effect->setOpacity(shown ? 1 : 0);
}

} // namespace

WelcomeIntro::WelcomeIntro(AppSettings& settings, std::function<void()> onStart, QWidget* parent)
    : OnboardingPage(parent)
    , m_settings(settings) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addStretch(1);

    BrandMarkInputs inputs;
    inputs.level = 0.15;
    inputs.animated = true;
    inputs.glow = true;
    inputs.echoes = true;
    m_mark = new BrandMark(inputs, this);
    m_mark->setFixedSize(170, 136);
    m_mark->setAccessibleName(QStringLiteral("Nolvea"));
    layout->addWidget(m_mark, 0, Qt::AlignHCenter);
    layout->addSpacing(28);

    m_title = new QLabel(PageTexts::greetings().first(), this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setAlignment(Qt::AlignCenter);
    SiteKit::applyTitle(m_title, 64);
    layout->addWidget(m_title);

    m_text = new QWidget(this);
    auto* text = new QVBoxLayout(m_text);
    text->setContentsMargins(0, 18, 0, 0);
    text->setSpacing(14);
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
    m_start = new SiteButton(QStringLiteral("Começar  →"), SiteKit::Kind::primary,
                             SiteKit::Size::large, m_buttons);
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

    // Built in the final state: an offscreen rendering shows the whole page; showing it on
    // screen starts from the beginning.
    setPhase(4);
}

WelcomeIntro::~WelcomeIntro() {
    leaveScreen();
}

QString WelcomeIntro::titleText() const {
    return m_title->text();
}

void WelcomeIntro::setGreeting(const QString& word) {
    m_title->setText(word);
    m_title->setAccessibleName(word);
}

void WelcomeIntro::setPhase(int phase) {
    m_phase = phase;
    setOpacity(m_mark, phase >= 1);
    setOpacity(m_title, phase >= 2);
    setOpacity(m_text, phase >= 3);
    setOpacity(m_buttons, phase >= 4);
    if (phase >= 3)
        setGreeting(PageTexts::finalGreeting(m_settings.userName(), AppSettings::suggestedName()));
    else if (phase <= 1)
        setGreeting(PageTexts::greetings().first());
}

void WelcomeIntro::appear() {
    if (FlatGlass::isFlat(this) || FrameClock::shared().reduceMotion()) {
        setPhase(4);
        return;
    }
    setPhase(0);
    Clock& clock = Clock::shared();
    auto at = [&](int ms, std::function<void()> fn) {
        m_steps.push_back(clock.schedule(std::chrono::milliseconds(ms), false, std::move(fn)));
    };
    at(350, [this] {
        setPhase(1);
        m_breath = Clock::shared().schedule(std::chrono::milliseconds(450), true, [this] {
            m_mark->setLevel(0.05 + 0.4 * QRandomGenerator::global()->generateDouble());
        });
    });
    at(1150, [this] { setPhase(2); });
    const QStringList& words = PageTexts::greetings();
    for (int i = 1; i < words.size(); ++i)
        at(1150 + 430 * i, [this, word = words[i]] { setGreeting(word); });
    at(4230, [this] { setPhase(3); });
    at(5130, [this] { setPhase(4); });
}

void WelcomeIntro::disappear() {
    m_steps.clear();
    m_breath.reset();
    if (m_phase < 4) setPhase(4);
}

} // namespace nolvea
