#include "ui/onboarding/DoneStep.h"

#include "ai/AIStatus.h"
#include "audio/Sounds.h"
#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "support/Clock.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandMark.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/KeyCap.h"
#include "ui/components/Regua.h"
#include "ui/components/SiteButton.h"
#include "ui/components/SiteKit.h"
#include "ui/onboarding/Confetti.h"
#include "ui/onboarding/HotkeyTest.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/PageTexts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace nolvea {

namespace {

PageTexts::DoneFacts facts() {
    const AppSettings& s = AppSettings::shared();
    const GoogleConnect& g = GoogleConnect::shared();
    int granted = 0;
    for (auto kind : {PermissionKind::microphone, PermissionKind::accessibility,
                      PermissionKind::inputMonitoring})
        granted += Permissions::shared().isGranted(kind) ? 1 : 0;
    return {s.hotkey(),
            AIStatus::shared().connection(),
            s.aiProvider(),
            s.model(),
            granted,
            g.macAccounts(),
            g.hasUnnamedAccount(),
            g.workspaceServer() != nullptr};
}

QWidget* tile(const PageTexts::Tile& t, QWidget* parent) {
    auto* w = new QWidget(parent);
    auto* v = new QVBoxLayout(w);
    v->setContentsMargins(0, 12, 0, 0);
    v->setSpacing(12);
    auto* h = new QHBoxLayout;
    h->setSpacing(10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(OnboardingFonts::label(
        t.title, OnboardingFonts::brand(12, OnboardingFonts::Weight::regular), Brand::suave(), w));
    QLabel* value = OnboardingFonts::label(
        t.value, OnboardingFonts::brand(14, OnboardingFonts::Weight::semibold), Brand::tinta(), w);
    value->setWordWrap(false);
    texts->addWidget(value);
    h->addLayout(texts, 1);
    QLabel* mark =
        OnboardingFonts::symbol(t.ok ? QStringLiteral("checkmark") : QStringLiteral("minus"), 14,
                                t.ok ? Brand::verde() : Brand::chuva(), w);
    mark->setAccessibleName(t.ok ? QStringLiteral("ok") : QStringLiteral("pendente"));
    h->addWidget(mark);
    v->addLayout(h);
    v->addWidget(new Regua(false, w));
    w->setAccessibleName(t.title + QStringLiteral(": ") + t.value);
    return w;
}

} // namespace

DoneStep::DoneStep(std::function<void()> finish, QWidget* parent)
    : OnboardingPage(parent) {
    // Behind everything, letting every click through.
    m_confetti = new Confetti(90, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 38);
    layout->setSpacing(0);
    layout->addSpacing(20);
    layout->addStretch(1);
    BrandMarkInputs inputs;
    inputs.level = 0.3;
    inputs.animated = true;
    inputs.echoes = true;
    m_mark = new BrandMark(inputs, this);
    m_mark->setFixedSize(120, 96);
    layout->addWidget(m_mark, 0, Qt::AlignHCenter);
    layout->addSpacing(26);
    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    m_title->setAlignment(Qt::AlignCenter);
    SiteKit::applyTitle(m_title, 48);
    layout->addWidget(m_title);
    layout->addSpacing(8);
    QLabel* subtitle = OnboardingFonts::label(
        QStringLiteral("A Nolvea fica na barra de menus e no notch, esperando a sua voz."),
        OnboardingFonts::brand(15, OnboardingFonts::Weight::regular), Brand::suave(), this);
    subtitle->setAlignment(Qt::AlignCenter);
    layout->addWidget(subtitle);
    layout->addSpacing(28);
    m_summary = new QWidget(this);
    auto* summary = new QVBoxLayout(m_summary);
    summary->setContentsMargins(0, 0, 0, 0);
    summary->setSpacing(0);
    summary->addWidget(new Regua(true, m_summary));
    m_tiles = new QGridLayout;
    m_tiles->setHorizontalSpacing(28);
    m_tiles->setVerticalSpacing(0);
    m_tiles->setColumnStretch(0, 1);
    m_tiles->setColumnStretch(1, 1);
    summary->addLayout(m_tiles);
    layout->addWidget(m_summary);

    auto* tryBlock = new QWidget(this);
    auto* tryColumn = new QVBoxLayout(tryBlock);
    tryColumn->setContentsMargins(0, 0, 0, 0);
    tryColumn->setSpacing(0);
    auto* tryIt = new QWidget(tryBlock);
    auto* row = new QHBoxLayout(tryIt);
    row->setContentsMargins(0, 14, 0, 14);
    row->setSpacing(12);
    auto* caps = new QHBoxLayout;
    caps->setSpacing(4);
    caps->addWidget(
        new KeyCap(HotkeyTest::glyph(AppSettings::shared().hotkey()), 30, false, tryIt));
    caps->addWidget(new KeyCap(QStringLiteral("⌃"), 30, false, tryIt));
    row->addLayout(caps);
    auto* words = new QVBoxLayout;
    words->setSpacing(2);
    words->addWidget(OnboardingFonts::label(
        QStringLiteral("Experimente agora"),
        OnboardingFonts::brand(15, OnboardingFonts::Weight::bold), Brand::tinta(), tryIt));
    m_tryDetail = OnboardingFonts::label(
        {}, OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::suave(), tryIt);
    words->addWidget(m_tryDetail);
    row->addLayout(words, 1);
    tryColumn->addWidget(tryIt);
    tryColumn->addWidget(new Regua(false, tryBlock));
    layout->addWidget(tryBlock);
    layout->addSpacing(16);
    layout->addStretch(1);
    auto* start = new SiteButton(QStringLiteral("Começar a usar"), SiteKit::Kind::primary,
                                 SiteKit::Size::large, this);
    connect(start, &QAbstractButton::clicked, this, [finish = std::move(finish)] { finish(); });
    layout->addWidget(start, 0, Qt::AlignHCenter);

    // What comes in with the entrance, and how.
    auto motion = [](QWidget* w) {
        auto* effect = new PageMotionEffect(w);
        w->setGraphicsEffect(effect);
        return effect;
    };
    m_entering = {{motion(m_mark), &OnboardingMotion::doneMark},
                  {motion(m_title), &OnboardingMotion::doneTitle},
                  {motion(subtitle), &OnboardingMotion::fade},
                  {motion(m_summary), &OnboardingMotion::doneGrid},
                  {motion(tryBlock), &OnboardingMotion::fade},
                  {motion(start), &OnboardingMotion::fade}};
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_entrance.advance(dt);
        applyEntrance();
        return moving;
    });

    auto update = [this] { render(); };
    connect(&AppSettings::shared(), &AppSettings::userNameChanged, this, update);
    connect(&AppSettings::shared(), &AppSettings::modelChanged, this, update);
    connect(&AppSettings::shared(), &AppSettings::aiProviderChanged, this, update);
    connect(&AIStatus::shared(), &AIStatus::connectionChanged, this, update);
    connect(&Permissions::shared(), &Permissions::grantedChanged, this, update);
    connect(&GoogleConnect::shared(), &GoogleConnect::macAccountsChanged, this, update);
    connect(&GoogleConnect::shared(), &GoogleConnect::hasUnnamedAccountChanged, this, update);
    connect(&MCPManager::shared(), &MCPManager::serversChanged, this, update);
    render();
    m_confetti->lower();
}

DoneStep::~DoneStep() {
    leaveScreen();
}

QString DoneStep::titleText() const {
    return m_title->text();
}

void DoneStep::render() {
    m_title->setText(PageTexts::doneTitle(AppSettings::shared().userName()));
    m_title->setAccessibleName(m_title->text());
    m_tryDetail->setText(PageTexts::tryItDetail(AppSettings::shared().hotkey()));
    while (QLayoutItem* item = m_tiles->takeAt(0)) {
        // Hidden at once, or the old tile stays drawn under the new one until deleted.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const auto tiles = PageTexts::summary(facts());
    for (int i = 0; i < int(tiles.size()); ++i)
        m_tiles->addWidget(tile(tiles[std::size_t(i)], m_summary), i / 2, i % 2);
}

void DoneStep::resizeEvent(QResizeEvent* e) {
    OnboardingPage::resizeEvent(e);
    m_confetti->setGeometry(rect());
}

void DoneStep::applyEntrance() {
    const double p = m_entrance.value();
    for (const auto& [effect, look] : m_entering)
        effect->setLook(look(p));
}

void DoneStep::appear() {
    // Each showing starts before the entrance and celebrates again; flat shows the end, and
    // reduced motion the end with the sound: no ball, no burst.
    m_burst.reset();
    const bool flat = FlatGlass::isFlat(this);
    if (flat || FrameClock::shared().reduceMotion()) {
        m_entrance.jump(1);
        applyEntrance();
        if (!flat) Sounds::play(Sounds::Cue::success);
        return;
    }
    m_celebrated = true;
    m_entrance.jump(0);
    applyEntrance();
    Sounds::play(Sounds::Cue::success);
    m_mark->setBall(true);
    m_mark->setBusy(true);
    m_driver->animate(m_entrance, 1, OnboardingMotion::doneEntrance().spring);
    m_burst = Clock::shared().schedule(
        std::chrono::milliseconds(int(OnboardingMotion::kBurstDelay * 1000)), false,
        [this] { burst(); });
}

void DoneStep::burst() {
    m_burst.reset();
    m_confetti->start();
    m_mark->setBall(false);
    m_mark->setBusy(false);
}

void DoneStep::disappear() {
    // Leaving during the wait still ends the celebration as it would have.
    if (m_burst) burst();
    m_entrance.jump(1);
    applyEntrance();
}

} // namespace nolvea
