#include "ui/onboarding/OnboardingView.h"

#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/Permissions.h"
#include "core/UserDefaults.h"
#include "mcp/GoogleConnect.h"
#include "mcp/MCPManager.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/components/Brand.h"
#include "ui/components/SiteButton.h"
#include "ui/onboarding/AIStep.h"
#include "ui/onboarding/DoneStep.h"
#include "ui/onboarding/GoogleStep.h"
#include "ui/onboarding/HotkeyStep.h"
#include "ui/onboarding/NameStep.h"
#include "ui/onboarding/OnboardingFlow.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingMotion.h"
#include "ui/onboarding/PageMotionEffect.h"
#include "ui/onboarding/PermissionsStep.h"
#include "ui/onboarding/ProgressSteps.h"
#include "ui/onboarding/SnapshotLayer.h"
#include "ui/onboarding/WelcomeIntro.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace nolvea {

namespace {

OnboardingFlow::FooterFacts facts() {
    const GoogleConnect& google = GoogleConnect::shared();
    int granted = 0;
    for (auto kind : {PermissionKind::microphone, PermissionKind::accessibility,
                      PermissionKind::inputMonitoring})
        granted += Permissions::shared().isGranted(kind) ? 1 : 0;
    return {AppSettings::shared().userName(), granted,
            AIStatus::shared().connection() == AIConnection::online, AppSettings::shared().model(),
            !google.macAccounts().isEmpty() || google.hasUnnamedAccount() ||
                google.workspaceServer() != nullptr};
}

PageMotionEffect* motionOf(QWidget* w) {
    return w ? qobject_cast<PageMotionEffect*>(w->graphicsEffect()) : nullptr;
}

PageMotionEffect* addMotion(QWidget* w) {
    auto* effect = new PageMotionEffect(w);
    w->setGraphicsEffect(effect);
    return effect;
}

} // namespace

OnboardingView::OnboardingView(int initialStep, std::function<void()> onFinish, QWidget* parent)
    : QWidget(parent)
    , m_step(OnboardingSteps::fromRaw(initialStep).value_or(OnboardingStep::welcome))
    , m_onFinish(std::move(onFinish)) {
    setAccessibleName(QStringLiteral("Configuração inicial"));
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, Brand::tinta());
    pal.setColor(QPalette::Text, Brand::tinta());
    pal.setColor(QPalette::Base, Brand::folha());
    pal.setColor(QPalette::Window, Brand::chao());
    pal.setColor(QPalette::ButtonText, Brand::tinta());
    setPalette(pal);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_progress = new ProgressSteps(OnboardingStep::name, this);
    layout->addSpacing(0);
    layout->addWidget(m_progress, 0, Qt::AlignHCenter);
    m_pageArea = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(m_pageArea);
    layout->addWidget(m_pageArea, 1);

    m_footer = new QWidget(this);
    auto* footer = new QHBoxLayout(m_footer);
    footer->setContentsMargins(32, 0, 32, 26);
    m_back = new SiteButton(QStringLiteral("Voltar"), SiteKit::Kind::quiet, SiteKit::Size::regular,
                            m_footer);
    m_back->setSymbol(QStringLiteral("arrow.left"));
    m_back->setAccessibleName(QStringLiteral("Voltar"));
    m_hint = OnboardingFonts::label(
        {}, OnboardingFonts::brand(13, OnboardingFonts::Weight::regular), Brand::suave(), m_footer);
    m_hint->setWordWrap(false);
    m_hint->hide();
    addMotion(m_hint)->setLook(OnboardingMotion::fade(0));
    m_primary = new SiteButton(QStringLiteral("Continuar"), SiteKit::Kind::primary,
                               SiteKit::Size::large, m_footer);
    m_primary->setSymbol(QStringLiteral("arrow.right"), SiteButton::SymbolPlace::trailing);
    footer->addWidget(m_back);
    footer->addStretch(1);
    footer->addWidget(m_hint);
    footer->addSpacing(6);
    footer->addWidget(m_primary);
    layout->addWidget(m_footer);
    pageLayout->setContentsMargins(48, 0, 48, 0);

    connect(m_back, &QAbstractButton::clicked, this, &OnboardingView::back);
    connect(m_primary, &QAbstractButton::clicked, this, &OnboardingView::advance);
    // One label gives way to the next by a cross-fade.
    m_primaryChange = new ReplaceTransition(m_primary, Theme::snappy(), [](double p) {
        return TransitionLook{.opacity = std::clamp(p, 0.0, 1.0)};
    });
    setFocusPolicy(Qt::StrongFocus);
    m_driver = new FrameDriver(this, [this](double dt) { return stepMotion(dt); });

    auto refresh = [this] { refreshFooter(); };
    AppSettings& settings = AppSettings::shared();
    connect(&settings, &AppSettings::userNameChanged, this, refresh);
    connect(&settings, &AppSettings::modelChanged, this, refresh);
    connect(&Permissions::shared(), &Permissions::grantedChanged, this, refresh);
    connect(&AIStatus::shared(), &AIStatus::connectionChanged, this, refresh);
    GoogleConnect& google = GoogleConnect::shared();
    connect(&google, &GoogleConnect::macAccountsChanged, this, refresh);
    connect(&google, &GoogleConnect::hasUnnamedAccountChanged, this, refresh);
    connect(&MCPManager::shared(), &MCPManager::serversChanged, this, refresh);

    buildPage();
}

OnboardingView::~OnboardingView() {
    leaveScreen();
}

void OnboardingView::buildPage() {
    if (m_page) {
        m_page->hide();
        m_page->deleteLater();
    }
    AppSettings& settings = AppSettings::shared();
    OnboardingPage* page = nullptr;
    switch (m_step) {
    case OnboardingStep::welcome:
        page = new WelcomeIntro(settings, [this] { go(OnboardingStep::name); });
        break;
    case OnboardingStep::name:
        page = new NameStep(settings, [this] { advance(); });
        break;
    case OnboardingStep::permissions:
        page = new PermissionsStep(Permissions::shared());
        break;
    case OnboardingStep::hotkey:
        page = new HotkeyStep(settings, m_host);
        break;
    case OnboardingStep::ai:
        page = new AIStep(settings, AIStatus::shared(), UserDefaults::standard());
        break;
    case OnboardingStep::google:
        page = new GoogleStep(GoogleConnect::shared());
        break;
    case OnboardingStep::done:
        page = new DoneStep([this] { finish(); });
        break;
    }
    m_page = page;
    const bool tracked = OnboardingSteps::isTracked(m_step);
    m_pageArea->layout()->setContentsMargins(48, tracked ? 22 : 0, 48, 0);
    m_pageArea->layout()->addWidget(page);
    m_progress->setVisible(tracked);
    m_progress->setCurrent(tracked ? m_step : OnboardingStep::name);
    m_footer->setVisible(tracked);
    if (auto* l = qobject_cast<QVBoxLayout*>(layout()))
        l->setContentsMargins(0, tracked ? 14 : 0, 0, 0);
    refreshFooter();
    if (isVisible()) page->show();
    // The page that had the keyboard is gone: Return goes to the footer's button again.
    if (!focusWidget() || !isAncestorOf(focusWidget())) setFocus();
}

QString OnboardingView::primaryLabel() const {
    return OnboardingFlow::primaryLabel(m_step, facts());
}

bool OnboardingView::canContinue() const {
    return OnboardingFlow::canContinue(m_step, facts());
}

void OnboardingView::refreshFooter() {
    const auto f = facts();
    const QString label = OnboardingFlow::primaryLabel(m_step, f);
    if (label != m_primary->text()) m_primaryChange->aboutToChange();
    m_primary->setText(label);
    m_primary->setAccessibleName(label);
    m_primary->setEnabled(OnboardingFlow::canContinue(m_step, f));
    // The hint fades in and out; going away it keeps its last words.
    const auto hint = OnboardingFlow::footerHint(m_step, f);
    if (hint) {
        m_hint->setText(*hint);
        m_hint->show();
    }
    m_driver->animate(m_hintShown, hint ? 1 : 0, Theme::snappy());
    applyMotion();
    // On the first tracked page the back button keeps its place but does nothing.
    const bool backable = m_step != OnboardingStep::name;
    m_back->setEnabled(backable);
    QSizePolicy keep = m_back->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_back->setSizePolicy(keep);
    m_back->setVisible(backable);
}

void OnboardingView::advance() {
    if (!OnboardingFlow::canContinue(m_step, facts())) return;
    if (auto target = OnboardingFlow::next(m_step)) go(*target);
}

void OnboardingView::back() {
    go(OnboardingFlow::previous(m_step));
}

void OnboardingView::go(OnboardingStep target) {
    m_forward = int(m_step) < int(target);
    if (target == m_step) return;
    const bool slide =
        isVisible() && m_page && m_page->isVisible() && !FrameClock::shared().reduceMotion();
    const bool chromeBefore = OnboardingSteps::isTracked(m_step);
    endMotion();
    // Pictures of what leaves; the old page itself ends at once with everything it ran.
    if (slide) {
        m_oldPage = new SnapshotLayer(m_page, this);
        if (chromeBefore && !OnboardingSteps::isTracked(target)) {
            m_oldProgress = new SnapshotLayer(m_progress, this);
            m_oldFooter = new SnapshotLayer(m_footer, this);
        }
    }
    m_step = target;
    buildPage();
    if (slide) startMove(chromeBefore);
}

bool OnboardingView::isMoving() const {
    return m_oldPage || !m_move.isSettled() || m_move.target() != 1;
}

void OnboardingView::startMove(bool chromeBefore) {
    addMotion(m_page);
    m_chromeEntering = !chromeBefore && OnboardingSteps::isTracked(m_step);
    if (m_chromeEntering) {
        addMotion(m_progress);
        addMotion(m_footer);
    }
    for (SnapshotLayer* layer : {m_oldPage.data(), m_oldProgress.data(), m_oldFooter.data()})
        if (layer) layer->show();
    m_move.jump(0);
    applyMotion();
    m_driver->animate(m_move, 1, Theme::gentle());
    if (m_move.isSettled() && m_move.value() == 1) endMotion();
}

bool OnboardingView::stepMotion(double dt) {
    const bool moving = m_move.advance(dt);
    const bool fading = m_hintShown.advance(dt);
    applyMotion();
    if (!moving) endMotion();
    return moving || fading;
}

void OnboardingView::applyMotion() {
    const double p = m_move.value();
    if (PageMotionEffect* e = motionOf(m_page)) e->setLook(OnboardingMotion::pageIn(m_forward, p));
    if (m_oldPage) m_oldPage->setLook(OnboardingMotion::pageOut(m_forward, p));
    // The marks leave over the top edge and the footer under the bottom one.
    const double above = m_progress->geometry().bottom() + 1;
    const double below = height() - m_footer->y();
    if (m_oldProgress) m_oldProgress->setLook(OnboardingMotion::fromTop(above, 1 - p));
    if (m_oldFooter) m_oldFooter->setLook(OnboardingMotion::fromBottom(below, 1 - p));
    if (m_chromeEntering) {
        if (PageMotionEffect* e = motionOf(m_progress))
            e->setLook(OnboardingMotion::fromTop(above, p));
        if (PageMotionEffect* e = motionOf(m_footer))
            e->setLook(OnboardingMotion::fromBottom(below, p));
    }
    const double hint = m_hintShown.value();
    if (PageMotionEffect* e = motionOf(m_hint)) e->setLook(OnboardingMotion::fade(hint));
    if (m_hintShown.target() == 0 && m_hintShown.isSettled()) m_hint->hide();
}

void OnboardingView::endMotion() {
    delete m_oldPage.data();
    delete m_oldProgress.data();
    delete m_oldFooter.data();
    for (QWidget* w : std::initializer_list<QWidget*>{m_page.data(), m_progress, m_footer})
        if (w && motionOf(w)) w->setGraphicsEffect(nullptr);
    m_chromeEntering = false;
    m_move.jump(1);
}

void OnboardingView::finish() {
    AppSettings& settings = AppSettings::shared();
    settings.setUserName(OnboardingFlow::trimmedName(settings.userName()));
    settings.setHasCompletedOnboarding(true);
    if (m_onFinish) m_onFinish();
}

void OnboardingView::returnPressed() {
    switch (m_step) {
    case OnboardingStep::welcome:
        go(OnboardingStep::name);
        break;
    case OnboardingStep::done:
        finish();
        break;
    default:
        advance();
    }
}

void OnboardingView::keyPressEvent(QKeyEvent* e) {
    // A text field handles its own Return (the name field submits, the others stay).
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        !qobject_cast<QLineEdit*>(focusWidget())) {
        returnPressed();
        return;
    }
    QWidget::keyPressEvent(e);
}

void OnboardingView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_onScreen || !window()->isVisible()) return;
    m_onScreen = true;
    Permissions::shared().startPolling();
    AppSettings& settings = AppSettings::shared();
    if (settings.userName().isEmpty()) settings.setUserName(AppSettings::suggestedName());
}

void OnboardingView::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    leaveScreen();
}

void OnboardingView::leaveScreen() {
    if (!m_onScreen) return;
    m_onScreen = false;
    Permissions::shared().stopPolling();
    // Whatever page was showing, push-to-talk works again once the window is gone.
    if (m_host.setSuspended) m_host.setSuspended(false);
}

void OnboardingView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Brand::chao());
}

} // namespace nolvea
