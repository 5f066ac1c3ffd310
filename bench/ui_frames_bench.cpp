// CPU time of one frame of the animated logo, of the level bars and of the pill in motion, as
// drawn 60 times a second; the "budget" counter is the share of a 60 fps frame (16.7 ms) one frame
// takes.
#include "core/AppState.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"
#include "ui/components/AuroraBackground.h"
#include "ui/components/Blur.h"
#include "ui/components/BrandMark.h"
#include "ui/components/BrandMarkModel.h"
#include "ui/components/BrandMarkPainter.h"
#include "ui/components/GlassBlend.h"
#include "ui/components/Theme.h"
#include "ui/components/WaveformView.h"
#include "ui/overlay/PillView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cstdlib>

using namespace nolvea;

namespace {

constexpr double kFrame = 1.0 / 60;

void reportBudget(benchmark::State& state) {
    state.counters["budget"] =
        benchmark::Counter(double(state.iterations()) / 60.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

QList<float> voice(double t) {
    QList<float> levels(32);
    for (int i = 0; i < 32; ++i)
        levels[i] = float(0.5 + 0.5 * std::sin(t * 7 + i * 0.4));
    return levels;
}

void BM_BrandMarkFrame(benchmark::State& state) {
    const bool ball = state.range(0) != 0;
    const QSize size(250, 200); // 125 × 100 points at scale 2
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    BrandMarkInputs in;
    in.animated = true;
    in.ball = ball;
    in.busy = ball;
    in.glow = true;
    in.echoes = true;
    in.level = 0.6;
    double t = 7.9e8;
    for (auto _ : state) {
        in.levels = ball ? std::nullopt : std::optional(voice(t));
        image.fill(Qt::transparent);
        QPainter p(&image);
        const auto frame = BrandMarkModel::frame(in, t, in.level, ball ? 1 : 0);
        BrandMarkPainter::paint(p, BrandMarkModel::fit(image.rect()), in, frame, ball ? 1 : 0);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
        t += kFrame;
    }
    reportBudget(state);
}
BENCHMARK(BM_BrandMarkFrame)->Arg(0)->Arg(1)->ArgNames({"ball"})->Unit(benchmark::kMicrosecond);

void BM_BrandMarkFrameNoGlow(benchmark::State& state) {
    QImage image(QSize(250, 200), QImage::Format_ARGB32_Premultiplied);
    BrandMarkInputs in;
    in.animated = true;
    in.echoes = true;
    double t = 7.9e8;
    for (auto _ : state) {
        in.levels = voice(t);
        image.fill(Qt::transparent);
        QPainter p(&image);
        BrandMarkPainter::paint(p, BrandMarkModel::fit(image.rect()), in,
                                BrandMarkModel::frame(in, t, 0.5, 0), 0);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
        t += kFrame;
    }
    reportBudget(state);
}
BENCHMARK(BM_BrandMarkFrameNoGlow)->Unit(benchmark::kMicrosecond);

void BM_WaveformFrame(benchmark::State& state) {
    QImage image(QSize(348, 52), QImage::Format_ARGB32_Premultiplied); // the pill's, at scale 2
    image.setDevicePixelRatio(2);
    double t = 7.9e8;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter p(&image);
        WaveformView::draw(p, QSizeF(173.5, 26), voice(t), Theme::agent().accent, 3, 2.5, 1, t);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
        t += kFrame;
    }
    reportBudget(state);
}
BENCHMARK(BM_WaveformFrame)->Unit(benchmark::kMicrosecond);

void BM_Blur(benchmark::State& state) {
    QImage image(QSize(356, 306), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    for (auto _ : state)
        benchmark::DoNotOptimize(blurred(image, double(state.range(0))).constBits());
}
BENCHMARK(BM_Blur)->Arg(4)->Arg(17)->Unit(benchmark::kMicrosecond);

// One pose of the backdrop's moving gradient at a preview's size (redrawn 20 times a second).
void BM_AuroraFrame(benchmark::State& state) {
    double t = 0;
    for (auto _ : state) {
        t += 0.05;
        benchmark::DoNotOptimize(
            AuroraBackground::render(Theme::agent(), QSize(640, 300), t, true).constBits());
    }
}
BENCHMARK(BM_AuroraFrame)->Unit(benchmark::kMicrosecond);

// The pill's glass melted into one surface while listening in agent mode hands-free: the
// bubble above, a drop on each side (made again whenever a shape moves).
void BM_GlassBlendRender(benchmark::State& state) {
    const double dpr = double(state.range(0));
    const GlassBlend blend({{QRectF(203, 400, 234, 46), 23},
                            {QRectF(110, 346, 420, 44), 18},
                            {QRectF(155, 403, 40, 40), 20},
                            {QRectF(445, 405, 36, 36), 18}},
                           18);
    const QRect area = blend.bounds().toAlignedRect();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            blend.render(area, {QColor(13, 13, 15, 220), QColor(255, 255, 255, 90), 1}, dpr)
                .constBits());
    reportBudget(state);
}
BENCHMARK(BM_GlassBlendRender)->Arg(1)->Arg(2)->ArgNames({"dpr"})->Unit(benchmark::kMicrosecond);

// One frame of the pill in motion, drawn as the screen would: the stage changes every half
// second between listening (with drops and bubble) and a confirmation card, so the capsule
// morphs, the contents blur in and out and the drops grow and melt the whole time.
void BM_PillMotionFrame(benchmark::State& state) {
    ManualClock clock;
    Clock::install(&clock);
    AppState app;
    ActionPreview action;
    action.symbol = QStringLiteral("square.stack.3d.up.fill");
    action.title = QStringLiteral("Executar atalho");
    action.details = {QStringLiteral("Marcar"), QStringLiteral("Entrada: texto")};
    {
        PillView view(app, []() -> VoiceController& { std::abort(); });
        view.resize(640, 460);
        view.show();
        app.setMode(VoiceMode::agent);
        app.setHandsFree(true);
        app.setLiveText(QStringLiteral("qual é a previsão do tempo para amanhã"));
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        int frame = 0;
        for (auto _ : state) {
            if (frame % 30 == 0) {
                const bool card = frame % 60 == 0;
                app.setPendingAction(card ? std::optional(action) : std::nullopt);
                app.setStage(card ? AppState::Stage::confirming : AppState::Stage::listening);
            }
            ++frame;
            clock.advance(std::chrono::milliseconds(17));
            image.fill(Qt::transparent);
            view.render(&image);
            benchmark::DoNotOptimize(image.constBits());
        }
    }
    Clock::install(nullptr);
    reportBudget(state);
}
BENCHMARK(BM_PillMotionFrame)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
