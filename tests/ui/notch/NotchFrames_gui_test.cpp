// The island's motion on a real view, frame by frame on the injected clock: what is drawn on
// the way between presentations, where clicks land meanwhile, and the pictures of those frames
// for a person to look at (<build>/screenshots/notch-motion-*.png).
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "platform/Platform.h"
#include "support/Clock.h"
#include "support/fakes/FakePointerSource.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/Bounce.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/MotionEffect.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/BrandMark.h"
#include "ui/components/GlassButton.h"
#include "ui/components/KeyCap.h"
#include "ui/notch/NotchAnswerCard.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchEar.h"
#include "ui/notch/NotchField.h"
#include "ui/notch/NotchHoverPanel.h"
#include "ui/notch/NotchIsland.h"
#include "ui/notch/NotchResultCard.h"
#include "ui/notch/NotchSymbolSwap.h"
#include "ui/notch/NotchView.h"
#include "ui/notch/NotchWorkingCard.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/OverlayPanel.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace nolvea;
using Stage = AppState::Stage;
using Kind = NotchPresentation::Kind;

namespace {

class NotchFrames : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        FrameClock::shared().setReduceMotion(false);
        Platform::install<PointerSource>(pointer);
        notch =
            std::make_unique<NotchController>(state, []() -> VoiceController& { std::abort(); });
        notch->setEnabled(true);
        advance(2000);
    }
    void TearDown() override {
        notch.reset();
        Platform::uninstall<PointerSource>();
        FrameClock::shared().setReduceMotion(false);
        Clock::install(nullptr);
    }
    void advance(int ms) {
        for (int t = 0; t < ms; t += 17) {
            clock.advance(std::chrono::milliseconds(std::min(17, ms - t)));
            QCoreApplication::processEvents();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    NotchView& view() { return notch->view(); }
    OverlayPanel& panel() { return notch->panel(); }
    QRect island() { return view().islandFrame(); }
    TransitionLook cardLook() {
        auto* e = qobject_cast<TransitionEffect*>(view().card()->graphicsEffect());
        return e ? e->look() : TransitionLook{};
    }

    // The panel over a desktop-like backdrop, saved for a person to look at.
    void frame(const QString& name) {
        const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
        QDir().mkpath(dir);
        const QRect crop(panel().width() / 2 - 300, 0, 600, 330);
        QImage composed(crop.size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&composed);
        QLinearGradient desk(0, 0, crop.width(), crop.height());
        desk.setColorAt(0, QColor(0xd8, 0xdc, 0xe6));
        desk.setColorAt(1, QColor(0x8a, 0x9a, 0xba));
        p.fillRect(composed.rect(), desk);
        p.drawPixmap(QPoint(), panel().grab(crop));
        p.end();
        composed.save(dir + QStringLiteral("/notch-motion-") + name + QStringLiteral(".png"));
    }

    ManualClock clock;
    std::shared_ptr<test::FakePointerSource> pointer = std::make_shared<test::FakePointerSource>();
    AppState state;
    std::unique_ptr<NotchController> notch;
};

} // namespace

// Opening the hover panel: the island grows from the compact size through sizes in between,
// the panel scales in after a short wait, and clicks are taken only inside the outline drawn
// at each frame.
TEST_F(NotchFrames, theIslandGrowsIntoTheHoverPanelAndClicksFollowItsOutline) {
    HistoryStore::shared().clear();
    HistoryStore::shared().add(
        HistoryEntry::make(HistoryEntry::Kind::agent, "Editor", "marque reunião amanhã", "Feito."));
    HistoryStore::shared().add(
        HistoryEntry::make(HistoryEntry::Kind::dictation, "Notas", "lista", "Comprar pão"));
    const QRect compact = island();
    frame(QStringLiteral("compacta"));
    notch->model().setHovering(true);
    ASSERT_EQ(view().presentation(), Kind::hover);
    const QSize target = notch->model().islandSize();
    EXPECT_GT(target.height(), compact.height() + 100);
    EXPECT_EQ(island(), compact) << "nothing jumps";
    EXPECT_EQ(cardLook(), NotchMotion::cardIn(0));

    advance(34);
    EXPECT_EQ(cardLook(), NotchMotion::cardIn(0)) << "the card waits for the island to begin";
    advance(51);
    const QRect mid = island();
    frame(QStringLiteral("painel-85ms"));
    EXPECT_GT(mid.width(), compact.width());
    EXPECT_LT(mid.width(), target.width());
    EXPECT_GT(mid.height(), compact.height());
    EXPECT_LT(mid.height(), target.height());
    EXPECT_GT(cardLook().opacity, 0);
    EXPECT_LT(cardLook().scale, 1);

    // The input region is the outline as drawn now: below it, where the panel is going,
    // clicks still reach the window underneath.
    const QRegion region = panel().drawnRegion();
    EXPECT_EQ(region, view().islandRegion());
    EXPECT_TRUE(region.contains(QPoint(mid.center().x(), mid.bottom() - 4)));
    EXPECT_FALSE(region.contains(QPoint(mid.center().x(), mid.bottom() + 20)));
    EXPECT_FALSE(region.contains(mid.topLeft() + QPoint(2, mid.height() - 2)))
        << "the rounded corner is not the island";

    advance(120);
    frame(QStringLiteral("painel-205ms"));
    advance(1500);
    EXPECT_EQ(island().size(), target);
    EXPECT_TRUE(cardLook().isIdentity());
    EXPECT_TRUE(
        panel().drawnRegion().contains(QPoint(island().center().x(), island().bottom() - 20)));
    frame(QStringLiteral("painel-fim"));

    // The first character typed: the key cap fades out as the send button grows from a point.
    auto* hover = qobject_cast<NotchHoverPanel*>(view().card());
    ASSERT_NE(hover, nullptr);
    auto* keyCap = hover->field()->findChild<KeyCap*>();
    ASSERT_NE(keyCap, nullptr);
    EXPECT_TRUE(keyCap->isVisible());
    EXPECT_FALSE(hover->field()->sendButton()->isVisible());
    hover->field()->edit()->setText(QStringLiteral("o"));
    EXPECT_TRUE(hover->field()->sendButton()->isVisible());
    advance(51);
    auto* grow = qobject_cast<MotionEffect*>(hover->field()->sendButton()->graphicsEffect());
    ASSERT_NE(grow, nullptr);
    EXPECT_GT(grow->pose().scale, 0.01);
    EXPECT_LT(grow->pose().scale, 1);
    EXPECT_TRUE(keyCap->isVisible()) << "it keeps its room while it fades";
    frame(QStringLiteral("campo-51ms"));
    advance(1000);
    EXPECT_FALSE(keyCap->isVisible());
    EXPECT_EQ(hover->field()->sendButton()->graphicsEffect(), nullptr);
    hover->field()->edit()->clear();

    // Closing: the panel's picture fades out in 0.12 s while the island shrinks back.
    notch->model().setHovering(false);
    ASSERT_EQ(view().card(), nullptr);
    ASSERT_NE(view().leavingCard(), nullptr);
    advance(51);
    frame(QStringLiteral("fechando-51ms"));
    EXPECT_NE(view().leavingCard(), nullptr);
    EXPECT_GT(island().height(), compact.height());
    advance(85);
    EXPECT_EQ(view().leavingCard(), nullptr) << "gone after 0.12 s";
    advance(1500);
    EXPECT_EQ(island(), compact);
    HistoryStore::shared().clear();
}

// With reduced motion every change lands at once: no frame in between, no picture fading.
TEST_F(NotchFrames, reducedMotionLandsAtOnce) {
    FrameClock::shared().setReduceMotion(true);
    notch->model().setHovering(true);
    const QSize target = notch->model().islandSize();
    EXPECT_EQ(island().size(), target);
    EXPECT_TRUE(cardLook().isIdentity());
    notch->model().setHovering(false);
    EXPECT_EQ(view().leavingCard(), nullptr);
    EXPECT_EQ(island().size(), notch->model().islandSize());

    state.setStage(Stage::success);
    EXPECT_FALSE(view().island()->leftEarView()->isReplacing());
    state.setStage(Stage::idle);
}

// Listening glows in; a success swaps the brand mark for the check mark, and an e-mail's
// paper plane flies off after 0.15 s while the check mark grows in its place.
TEST_F(NotchFrames, glowEarsAndThePaperPlane) {
    state.setMode(VoiceMode::agent);
    state.setLevels({0.3f});
    state.setStage(Stage::listening);
    EXPECT_DOUBLE_EQ(view().motion().frame().glow.radius, 0);
    advance(85);
    const double glowing = view().motion().frame().glow.radius;
    EXPECT_GT(glowing, 0);
    frame(QStringLiteral("ouvindo-85ms"));
    advance(1500);
    EXPECT_NEAR(view().motion().frame().glow.radius, 10 + 22 * 0.3, 0.01);

    state.setStatusText(QStringLiteral("E-mail enviado para Ana"));
    state.setLastRequest(QStringLiteral("mande o resumo para a Ana"));
    state.setStage(Stage::success);
    EXPECT_TRUE(view().island()->leftEarView()->isReplacing()) << "the check mark blurs in";
    auto* result = qobject_cast<NotchResultCard*>(view().card());
    ASSERT_NE(result, nullptr);
    ASSERT_TRUE(result->showsPlane());
    advance(119);
    EXPECT_DOUBLE_EQ(result->flown(), 0) << "the plane waits";
    EXPECT_GT(view().motion().frame().mark.blur, 0) << "the mark blurs away";
    advance(136);
    EXPECT_GT(result->flown(), 0);
    EXPECT_LT(result->flown(), 1);
    frame(QStringLiteral("aviao-255ms"));
    advance(1500);
    EXPECT_NEAR(result->flown(), 1, 1e-3);
    EXPECT_FALSE(view().island()->leftEarView()->isReplacing());
    EXPECT_FALSE(view().mark()->isVisible());
    frame(QStringLiteral("aviao-fim"));
    state.setStage(Stage::idle);
}

TEST_F(NotchFrames, theWordsHeardMorphIntoTheNextOnes) {
    state.setMode(VoiceMode::agent);
    state.setLiveText(QStringLiteral("marca uma reunião"));
    state.setStage(Stage::processing);
    notch->model().setHovering(true);
    advance(1500);
    auto* working = qobject_cast<NotchWorkingCard*>(view().card());
    ASSERT_NE(working, nullptr);
    ASSERT_FALSE(working->line()->isMorphing());

    state.setLiveText(QStringLiteral("marca uma reunião com a Ana amanhã às dez"));
    EXPECT_EQ(working->line()->text(), QStringLiteral("marca uma reunião com a Ana amanhã às dez"));
    EXPECT_TRUE(working->line()->isMorphing());
    advance(68);
    EXPECT_GT(working->line()->progress(), 0);
    EXPECT_LT(working->line()->progress(), 1);
    frame(QStringLiteral("fala-68ms"));
    advance(1500);
    EXPECT_FALSE(working->line()->isMorphing());
    frame(QStringLiteral("fala-fim"));
    state.setStage(Stage::idle);
}

// The answer card's buttons: a new symbol replaces the old one in its place, the old one
// shrinking and blurring away while the new one grows in; the capsule around it stays.
TEST_F(NotchFrames, theAnswerButtonsSwapTheirSymbols) {
    state.setMode(VoiceMode::agent);
    state.setAnswerText(QStringLiteral("Amanhã às dez, com a Ana."));
    state.setIsSpeaking(true);
    state.setStage(Stage::answer);
    advance(1500);
    auto* answer = qobject_cast<NotchAnswerCard*>(view().card());
    ASSERT_NE(answer, nullptr);

    struct Case {
        const char* name;
        NotchSymbolSwap* swap;
        GlassButton* button;
        std::function<void()> change;
        QString symbol;
    };
    const Case cases[] = {
        {"falar", answer->speechSymbol(), answer->speechButton(),
         [&] { state.setIsSpeaking(false); }, QStringLiteral("speaker.wave.2.fill")},
        {"copiar", answer->copySymbol(), answer->copyButton(),
         [&] { answer->copyButton()->click(); }, QStringLiteral("checkmark")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplaceTransition* t = c.swap->transition();
        ASSERT_FALSE(t->isRunning());
        c.change();
        EXPECT_EQ(c.button->look().symbol, c.symbol);
        EXPECT_EQ(c.swap->symbol()->geometry(), c.button->symbolRect());
        ASSERT_TRUE(t->isRunning());
        ASSERT_NE(t->leaving(), nullptr) << "the old symbol leaves in its place";
        EXPECT_EQ(t->leaving()->parentWidget(), c.button);
        advance(51);
        EXPECT_GT(t->progress(), 0);
        EXPECT_LT(t->progress(), 1);
        frame(QStringLiteral("simbolo-") + QString::fromUtf8(c.name) + QStringLiteral("-51ms"));
        advance(1000);
        EXPECT_FALSE(t->isRunning());
        EXPECT_EQ(t->leaving(), nullptr);
        // The copy button widened for its new title: the symbol moved with it.
        EXPECT_EQ(c.swap->symbol()->geometry(), c.button->symbolRect());
        // A screen reader that reaches the picture hears what the button does now.
        EXPECT_FALSE(c.button->accessibleName().isEmpty());
        EXPECT_EQ(c.swap->symbol()->accessibleName(), c.button->accessibleName());
    }
    // The same symbol again is no change.
    state.setIsSpeaking(false);
    EXPECT_FALSE(answer->speechSymbol()->transition()->isRunning());
    frame(QStringLiteral("simbolos-fim"));
    state.setStage(Stage::idle);
}

// The working card's capsule comes with the work, blurred and small, as the island grows round
// it; when the agent listens again the card closes up at once and a picture of the capsule
// blurs away where it was.
TEST_F(NotchFrames, theWorkingCapsuleComesAndGoesWithTheWork) {
    state.setMode(VoiceMode::agent);
    state.setLiveText(QStringLiteral("marca uma reunião"));
    state.setStage(Stage::listening);
    notch->model().setHovering(true);
    advance(1500);
    auto* working = qobject_cast<NotchWorkingCard*>(view().card());
    ASSERT_NE(working, nullptr);
    EXPECT_FALSE(working->capsule()->isVisible());
    const int listeningHeight = island().height();
    auto capsuleLook = [&] {
        auto* e = qobject_cast<TransitionEffect*>(working->capsule()->graphicsEffect());
        return e ? e->look() : TransitionLook{};
    };

    state.setStatusText(QStringLiteral("Lendo a agenda…"));
    state.setStage(Stage::processing);
    ASSERT_EQ(view().card(), working) << "the same card goes on";
    EXPECT_TRUE(working->capsule()->isVisible());
    EXPECT_EQ(capsuleLook(), NotchMotion::capsule(0));
    advance(85);
    EXPECT_GT(working->capsuleProgress(), 0);
    EXPECT_LT(working->capsuleProgress(), 1);
    EXPECT_GT(capsuleLook().blur, 0);
    EXPECT_LT(capsuleLook().scale, 1);
    frame(QStringLiteral("capsula-85ms"));
    advance(1500);
    EXPECT_TRUE(capsuleLook().isIdentity());
    EXPECT_GT(island().height(), listeningHeight);
    frame(QStringLiteral("capsula-fim"));

    // A longer status widens the capsule with the quick spring, not at once.
    const int narrow = working->capsule()->width();
    state.setStatusText(QStringLiteral("Procurando no calendário da equipe…"));
    ASSERT_TRUE(working->progressWidth()->isRunning());
    advance(51);
    EXPECT_GT(working->capsule()->width(), narrow);
    const int wide = working->progress()->sizeHint().width();
    EXPECT_LT(working->progress()->width(), wide);
    frame(QStringLiteral("capsula-crescendo-51ms"));
    advance(1500);
    EXPECT_FALSE(working->progressWidth()->isRunning());
    EXPECT_EQ(working->progress()->width(), wide);

    state.setStage(Stage::listening);
    EXPECT_FALSE(working->capsule()->isVisible()) << "the card closes up at once";
    QWidget* leaving = working->leavingCapsule();
    ASSERT_NE(leaving, nullptr);
    EXPECT_EQ(leaving->size(), working->capsule()->size());
    advance(85);
    auto* e = qobject_cast<TransitionEffect*>(leaving->graphicsEffect());
    ASSERT_NE(e, nullptr);
    EXPECT_GT(e->look().blur, 0);
    EXPECT_LT(e->look().opacity, 1);
    frame(QStringLiteral("capsula-saindo-85ms"));
    advance(1500);
    EXPECT_EQ(working->leavingCapsule(), nullptr);
    EXPECT_EQ(island().height(), listeningHeight);

    // Under reduced motion the capsule is there, or gone, at once.
    FrameClock::shared().setReduceMotion(true);
    state.setStage(Stage::processing);
    EXPECT_TRUE(capsuleLook().isIdentity());
    state.setStage(Stage::listening);
    EXPECT_EQ(working->leavingCapsule(), nullptr);
    state.setStage(Stage::idle);
}

// The confirmation's badge bounces once as the card comes on screen: it swells, dips a little
// under its size and settles.
TEST_F(NotchFrames, theConfirmBadgeBouncesOnce) {
    state.setMode(VoiceMode::agent);
    state.setPendingAction(ActionPreview{.symbol = QStringLiteral("calendar"),
                                         .title = QStringLiteral("Criar evento"),
                                         .details = {QStringLiteral("Amanhã às 10:00")}});
    state.setStage(Stage::confirming);
    auto* confirm = qobject_cast<ConfirmCard*>(view().card());
    ASSERT_NE(confirm, nullptr);
    Bounce* bounce = confirm->iconBounce();
    ASSERT_NE(bounce, nullptr);
    EXPECT_TRUE(bounce->isPlaying());
    double highest = 1, lowest = 1;
    for (int t = 0; t < 1000 && bounce->isPlaying(); t += 17) {
        advance(17);
        highest = std::max(highest, bounce->scale());
        lowest = std::min(lowest, bounce->scale());
        if (t == 102 || t == 187 || t == 289) frame(QStringLiteral("selo-%1ms").arg(t + 17));
    }
    EXPECT_GT(highest, 1.1);
    EXPECT_LT(lowest, 1) << "it dips under its size before it settles";
    EXPECT_FALSE(bounce->isPlaying());
    EXPECT_DOUBLE_EQ(bounce->scale(), 1);
    state.setStage(Stage::idle);
    state.setPendingAction(std::nullopt);
}

// The reply field makes room for its send button with the quick spring as the first character
// is typed, and closes up again as the last one goes: the text's width passes through the
// widths in between.
TEST_F(NotchFrames, theReplyFieldMakesRoomAndClosesUp) {
    state.setMode(VoiceMode::agent);
    state.setAnswerText(QStringLiteral("Amanhã às dez, com a Ana."));
    state.setStage(Stage::answer);
    advance(1500);
    auto* answer = qobject_cast<NotchAnswerCard*>(view().card());
    ASSERT_NE(answer, nullptr);
    NotchField* reply = answer->reply();
    const int wide = reply->edit()->width();
    EXPECT_DOUBLE_EQ(reply->room(), 0);

    struct Step {
        const char* name;
        QString text;
        double room;
    };
    const Step steps[] = {
        {"digitado", QStringLiteral("e amanhã?"), 28},
        {"apagado", QString(), 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        const int before = reply->edit()->width();
        reply->edit()->setText(s.text);
        EXPECT_EQ(reply->edit()->width(), before) << "nothing jumps";
        advance(51);
        const int mid = reply->edit()->width();
        EXPECT_GT(mid, std::min(wide, wide - 28));
        EXPECT_LT(mid, wide);
        const QToolButton* send = reply->sendButton();
        EXPECT_EQ(send->geometry().right(), reply->width() - 8 - 1) << "it sits at the end";
        frame(QStringLiteral("resposta-") + QString::fromUtf8(s.name) + QStringLiteral("-51ms"));
        advance(1000);
        EXPECT_DOUBLE_EQ(reply->room(), s.room);
        EXPECT_EQ(reply->edit()->width(), wide - int(s.room));
    }
    EXPECT_FALSE(reply->sendButton()->isVisible());
    state.setStage(Stage::idle);
}
