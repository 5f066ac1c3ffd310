// The pill's motion on a real view, frame by frame on the injected clock: what is drawn
// mid-way, where clicks land meanwhile, and the pictures of those frames for a person to
// look at (<build>/screenshots/pill-motion-*.png).
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"
#include "ui/animation/Bounce.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/MorphingLabel.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/components/FlatGlass.h"
#include "ui/components/ShakeEffect.h"
#include "ui/overlay/ConfirmCard.h"
#include "ui/overlay/PillProcessingContent.h"
#include "ui/overlay/PillResultContent.h"
#include "ui/overlay/PillView.h"

#include <QDir>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace nolvea;
using Stage = AppState::Stage;

namespace {

ActionPreview action() {
    ActionPreview p;
    p.symbol = QStringLiteral("square.stack.3d.up.fill");
    p.title = QStringLiteral("Executar atalho");
    p.details = {QStringLiteral("Marcar"), QStringLiteral("Entrada: texto"),
                 QStringLiteral("Pasta: Atalhos"), QStringLiteral("Demora: pouca"),
                 QStringLiteral("Última linha")};
    return p;
}

class PillFrames : public ::testing::Test {
protected:
    void SetUp() override {
        Clock::install(&clock);
        FrameClock::shared().setReduceMotion(false);
        view = std::make_unique<PillView>(state, []() -> VoiceController& { std::abort(); });
        view->resize(640, 460);
        view->show();
    }
    void TearDown() override {
        view.reset();
        FrameClock::shared().setReduceMotion(false);
        Clock::install(nullptr);
    }
    void advance(int ms) { clock.advance(std::chrono::milliseconds(ms)); }

    // How much of the view is drawn at `at` (alpha, 0 to 255).
    int inkAt(QPoint at) { return view->grab().toImage().pixelColor(at).alpha(); }
    // How much is drawn in all, in fully drawn pixels.
    double ink() {
        const QImage image = view->grab().toImage();
        double sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += image.pixelColor(x, y).alphaF();
        return sum;
    }

    // The view over a desktop-like backdrop, saved for a person to look at.
    void frame(const QString& name) {
        const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
        QDir().mkpath(dir);
        QImage composed(view->size(), QImage::Format_ARGB32_Premultiplied);
        QPainter p(&composed);
        QLinearGradient desk(0, 0, view->width(), view->height());
        desk.setColorAt(0, QColor(0x3a, 0x4a, 0x6a));
        desk.setColorAt(1, QColor(0x8a, 0x6a, 0x9a));
        p.fillRect(composed.rect(), desk);
        p.drawPixmap(0, 0, view->grab());
        p.end();
        composed.save(dir + QStringLiteral("/pill-motion-") + name + QStringLiteral(".png"));
    }

    ManualClock clock;
    AppState state;
    std::unique_ptr<PillView> view;
};

} // namespace

TEST_F(PillFrames, RisesInMorphsIntoTheCardAndSinksAway) {
    state.setMode(VoiceMode::agent);
    state.setListeningSince(clock.now());
    state.setStage(Stage::listening);
    const QRect capsule = view->pillRect();
    ASSERT_FALSE(capsule.isEmpty());
    EXPECT_TRUE(view->drawnRegion().contains(capsule)) << "clicks land where it is going";
    EXPECT_LT(ink(), 50) << "it starts clear";
    frame(QStringLiteral("entrada-0ms"));
    advance(85);
    const double rising = ink();
    EXPECT_GT(rising, 1000);
    frame(QStringLiteral("entrada-85ms"));
    advance(1000);
    EXPECT_GT(ink(), 2 * rising) << "risen, grown and no longer clear";
    EXPECT_EQ(view->pillRect(), capsule);
    frame(QStringLiteral("entrada-fim"));

    state.setPendingAction(action());
    state.setStage(Stage::confirming);
    auto* card = qobject_cast<ConfirmCard*>(view->content());
    ASSERT_NE(card, nullptr);
    ASSERT_TRUE(view->motion().frame().leaving) << "the listening content blurs away";
    const QRect target = view->motion().layout().pill;
    EXPECT_EQ(target.width(), 420);
    advance(100);
    const QRect mid = view->pillRect();
    EXPECT_GT(mid.width(), capsule.width());
    EXPECT_LT(mid.width(), 420);
    EXPECT_GT(mid.height(), 46);
    EXPECT_LT(mid.height(), target.height());
    EXPECT_TRUE(view->drawnRegion().contains(target)) << "the card's buttons take clicks at once";
    // The agent drop has gone: the capsule moves to the middle as it widens.
    EXPECT_GT(mid.center().x(), target.center().x());
    EXPECT_LT(mid.center().x(), capsule.center().x());
    frame(QStringLiteral("cartao-100ms"));
    advance(200);
    frame(QStringLiteral("cartao-300ms"));
    advance(1500);
    EXPECT_EQ(view->pillRect(), target);
    EXPECT_FALSE(view->motion().frame().leaving);
    EXPECT_TRUE(static_cast<TransitionEffect*>(card->graphicsEffect())->look().isIdentity());
    frame(QStringLiteral("cartao-fim"));

    state.setPendingAction(std::nullopt);
    state.setStage(Stage::idle);
    ASSERT_TRUE(view->motion().frame().group) << "still there on its way out";
    advance(120);
    EXPECT_LT(inkAt(target.center()), 230);
    frame(QStringLiteral("saida-120ms"));
    advance(1500);
    EXPECT_FALSE(view->motion().frame().group);
    EXPECT_TRUE(view->drawnRegion().isEmpty());
    EXPECT_EQ(inkAt(target.center()), 0);
}

TEST_F(PillFrames, ResultMarkBouncesAndANewStatusReplacesTheOld) {
    state.setStage(Stage::processing);
    state.setStatusText(QStringLiteral("Lendo a tela…"));
    advance(1000);
    auto* processing = qobject_cast<PillProcessingContent*>(view->content());
    ASSERT_NE(processing, nullptr);
    state.setStatusText(QStringLiteral("Consultando o modelo…"));
    ASSERT_NE(processing->statusTransition()->leaving(), nullptr);
    advance(60);
    frame(QStringLiteral("status-60ms"));
    advance(1000);
    EXPECT_EQ(processing->statusTransition()->leaving(), nullptr);

    state.setStatusText(QStringLiteral("Feito"));
    state.setStage(Stage::success);
    auto* result = qobject_cast<PillResultContent*>(view->content());
    ASSERT_NE(result, nullptr);
    EXPECT_TRUE(result->bounce()->isPlaying());
    advance(80);
    EXPECT_GT(result->bounce()->scale(), 1.05);
    frame(QStringLiteral("sucesso-80ms"));
    advance(1000);
    EXPECT_FALSE(result->bounce()->isPlaying());
}

TEST_F(PillFrames, AnErrorShakesAndEndsInPlaceWhileTheCapsuleResizes) {
    state.setStatusText(QStringLiteral("Falhou"));
    state.setErrorCount(1);
    state.setStage(Stage::error);
    advance(2000);
    auto* result = qobject_cast<PillResultContent*>(view->content());
    ASSERT_NE(result, nullptr);
    // Another error with a longer line: the capsule widens while the content shakes.
    state.setStatusText(QStringLiteral("Não consegui falar com o modelo"));
    state.setErrorCount(2);
    ASSERT_TRUE(result->shake()->isShaking());
    advance(100);
    frame(QStringLiteral("erro-tremendo"));
    advance(2000);
    EXPECT_FALSE(result->shake()->isShaking());
    // Mark (30) and spacing (8) after the leading padding (8).
    EXPECT_EQ(result->text()->mapTo(view.get(), QPoint()).x(), view->pillRect().left() + 46);
}

TEST_F(PillFrames, ConfirmationDetailsRiseOneAfterAnother) {
    state.setPendingAction(action());
    state.setStage(Stage::confirming);
    auto* card = qobject_cast<ConfirmCard*>(view->content());
    ASSERT_NE(card, nullptr);
    ASSERT_EQ(card->detailLabels().size(), 5);
    auto look = [&](int line) {
        return static_cast<TransitionEffect*>(card->detailLabels()[line]->graphicsEffect())->look();
    };
    EXPECT_EQ(look(0).opacity, 0);
    EXPECT_EQ(look(0).offset.y(), 6);
    EXPECT_TRUE(card->iconBounce()->isPlaying());
    advance(153); // nine frames: the first two lines are under way, the last is still waiting
    EXPECT_GT(look(0).opacity, look(1).opacity);
    EXPECT_GT(look(1).opacity, 0);
    EXPECT_EQ(look(4).opacity, 0);
    EXPECT_EQ(look(4).offset.y(), 6);
    frame(QStringLiteral("detalhes-150ms"));
    advance(1500);
    for (int line = 0; line < 5; ++line)
        EXPECT_TRUE(look(line).isIdentity()) << line;
    EXPECT_LT(card->entranceElapsed(), 0);
}

TEST_F(PillFrames, ReducedMotionPutsEverythingInPlaceAtOnce) {
    FrameClock::shared().setReduceMotion(true);
    state.setMode(VoiceMode::agent);
    state.setStage(Stage::listening);
    const QRect capsule = view->pillRect();
    EXPECT_GT(inkAt(capsule.center()), 150);
    state.setPendingAction(action());
    state.setStage(Stage::confirming);
    EXPECT_EQ(view->pillRect().width(), 420);
    EXPECT_FALSE(view->motion().frame().leaving);
    auto* card = qobject_cast<ConfirmCard*>(view->content());
    ASSERT_NE(card, nullptr);
    EXPECT_FALSE(card->iconBounce()->isPlaying());
    EXPECT_TRUE(static_cast<TransitionEffect*>(card->detailLabels()[4]->graphicsEffect())
                    ->look()
                    .isIdentity());
    state.setStage(Stage::idle);
    EXPECT_TRUE(view->drawnRegion().isEmpty());

    // Turned on mid-way, the motion ends where it was going.
    FrameClock::shared().setReduceMotion(false);
    state.setStage(Stage::listening);
    advance(50);
    FrameClock::shared().setReduceMotion(true);
    EXPECT_TRUE(view->motion().frame().groupLook.isIdentity());
}

TEST_F(PillFrames, TheBubbleMorphsIntoTheNewWords) {
    state.setMode(VoiceMode::dictation);
    state.setListeningSince(clock.now());
    state.setStage(Stage::listening);
    state.setLiveText(QStringLiteral("manda uma mensagem"));
    advance(1500);
    auto* bubble = static_cast<MorphingLabel*>(view->bubbleLabel());
    ASSERT_FALSE(bubble->isMorphing());

    state.setLiveText(QStringLiteral("manda uma mensagem pro João dizendo que eu chego"));
    EXPECT_EQ(bubble->text(), QStringLiteral("manda uma mensagem pro João dizendo que eu chego"));
    ASSERT_TRUE(bubble->isMorphing());
    advance(80);
    EXPECT_GT(bubble->progress(), 0);
    EXPECT_LT(bubble->progress(), 1);
    frame(QStringLiteral("bolha-80ms"));
    advance(1500);
    EXPECT_FALSE(bubble->isMorphing());
    frame(QStringLiteral("bolha-fim"));
}

TEST_F(PillFrames, ADropGrowsOutOfTheCapsuleAndHangsFromItByANeck) {
    state.setMode(VoiceMode::agent);
    state.setListeningSince(clock.now());
    state.setStage(Stage::listening);
    advance(1500);
    ASSERT_TRUE(view->motion().layout().agentDrop);
    const QRect drop = *view->motion().layout().agentDrop;
    const QRect capsule = view->pillRect();
    // The middle of the gap between the drop and the capsule, on their common centre line.
    const QPoint neck((drop.right() + capsule.left()) / 2, capsule.center().y());
    ASSERT_LT(drop.right(), neck.x());
    ASSERT_GT(capsule.left(), neck.x());
    EXPECT_GT(inkAt(neck), 150) << "the glass runs on between them";
    EXPECT_LT(inkAt(QPoint(neck.x(), capsule.top() + 2)), 20)
        << "as a neck, narrower than both (the capsule's shadow only)";
    EXPECT_TRUE(view->drawnRegion().contains(neck)) << "without a compositor the neck is kept";
    frame(QStringLiteral("gota-fim"));

    // A mode change melts the drop back into the capsule: it shrinks towards its own centre.
    state.setMode(VoiceMode::dictation);
    advance(120);
    frame(QStringLiteral("gota-saindo"));
    advance(1500);
    EXPECT_FALSE(view->motion().frame().agentDrop);
    EXPECT_LT(inkAt(drop.topLeft() + QPoint(4, 4)), 20) << "at most the capsule's shadow";
}

TEST_F(PillFrames, TheFlatLookDrawsEachShapeApart) {
    FlatGlass::set(view.get(), true);
    state.setMode(VoiceMode::agent);
    state.setStage(Stage::listening);
    advance(1500);
    const QRect drop = *view->motion().layout().agentDrop;
    const QRect capsule = view->pillRect();
    EXPECT_GT(inkAt(drop.center()), 150);
    const QPoint gap((drop.right() + capsule.left()) / 2, capsule.center().y());
    // Only the soft shadows reach the gap.
    EXPECT_LT(inkAt(gap), 60);
    EXPECT_FALSE(view->drawnRegion().contains(gap));
}
