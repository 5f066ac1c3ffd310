#include "ui/preview/DemoRunner.h"

#include "support/Detached.h"
#include "support/Error.h"

#include <QRandomGenerator>

#include <cmath>

namespace nolvea {

using Stage = AppState::Stage;

DemoRunner::DemoRunner(AppState& state, Clock* clock, QObject* parent)
    : QObject(parent)
    , m_state(state)
    , m_clock(clock ? *clock : Clock::shared()) {}

DemoRunner::~DemoRunner() {
    // A script still waiting in a pause unwinds here, writing nothing more.
    ++m_generation;
    if (auto playing = std::exchange(m_playing, std::nullopt)) playing->cancel();
}

void DemoRunner::run() {
    if (m_playing) return;
    if (m_state.stage() != Stage::idle) return;
    const CancelToken token;
    m_playing = token;
    Q_EMIT playingChanged(true);
    detach(play(++m_generation, token), QStringLiteral("Demonstração"));
}

void DemoRunner::yield() {
    if (!m_playing || m_playing->isCancelled()) return;
    // From here on every write of the script is refused; one waiting in a pause ends now.
    m_playing->cancel();
    m_state.setStage(Stage::idle);
    m_state.setHandsFree(false);
    m_state.setLiveText({});
    m_state.setStatusText({});
}

void DemoRunner::claim() const {
    if (!m_playing || m_playing->isCancelled()) throw Cancelled();
}

int DemoRunner::tickCount(double seconds) {
    return int(seconds * kTicksPerSecond);
}

double DemoRunner::envelope(int tick) {
    const double t = double(tick) / kTicksPerSecond;
    return std::abs(std::sin(9.5 * t)) * (0.55 + 0.45 * std::abs(std::sin(1.7 * t)));
}

QString DemoRunner::visiblePrefix(const QStringList& words, int tick, int ticks) {
    const qsizetype n = words.size();
    if (ticks <= 0) return {};
    const auto k = qsizetype(double(tick + 1) * double(n) / double(ticks) + 0.5);
    return words.mid(0, std::min(k, n)).join(u' ');
}

QCoro::Task<> DemoRunner::play(int generation, CancelToken cancel) {
    try {
        co_await script(cancel);
    } catch (const Cancelled&) {
        // Given up to a real interaction, or the runner went away.
    }
    if (generation != m_generation) co_return;
    m_playing.reset();
    Q_EMIT playingChanged(false);
}

QCoro::Task<> DemoRunner::script(CancelToken cancel) {
    // Lists are filled before they are awaited on: GCC refuses braced lists in co_await.
    QStringList steps;
    begin(VoiceMode::dictation);
    co_await speak(QStringLiteral("Oi pessoal, o deploy vai ser hoje às 18h. Cada um revisa o seu "
                                  "PR até lá, combinado?"),
                   4.2, cancel);
    steps = QStringList() << QStringLiteral("Transcrevendo…") << QStringLiteral("Refinando…");
    co_await processing(steps, cancel);
    co_await result(Stage::success, QStringLiteral("18 palavras"), 1.4, cancel);

    begin(VoiceMode::dictation);
    claim();
    m_state.setHandsFree(true);
    co_await speak(QStringLiteral("Lembrar de comprar café e pão"), 2.6, cancel);
    claim();
    m_state.setHandsFree(false);
    steps = QStringList() << QStringLiteral("Refinando…");
    co_await processing(steps, cancel);
    co_await result(Stage::success, QStringLiteral("6 palavras"), 1.2, cancel);

    // Opens as dictation and turns into an agent request after the first two words.
    begin(VoiceMode::dictation);
    co_await speak(QStringLiteral("Me lembra"), 0.8, cancel);
    claim();
    m_state.setMode(VoiceMode::agent);
    co_await speak(QStringLiteral("Me lembra de ligar pro dentista amanhã às nove"), 2.4, cancel);
    steps = QStringList() << QStringLiteral("Pensando…") << QStringLiteral("Criando lembrete…");
    co_await processing(steps, cancel);
    co_await result(Stage::success, QStringLiteral("Lembrete criado"), 1.4, cancel);

    begin(VoiceMode::dictation);
    co_await speak(QString(), 1.0, cancel);
    co_await result(Stage::error, QStringLiteral("Não ouvi nada"), 1.8, cancel);
}

void DemoRunner::begin(VoiceMode mode) {
    claim();
    m_state.setMode(mode);
    claim();
    m_state.setHandsFree(false);
    claim();
    m_state.setLiveText({});
    claim();
    m_state.setStatusText({});
    claim();
    m_state.setLevels(QList<float>(AppState::kLevelCount, 0.0f));
    claim();
    m_state.setListeningSince(m_clock.now());
    claim();
    m_state.setStage(Stage::listening);
}

QCoro::Task<> DemoRunner::speak(QString text, double seconds, CancelToken cancel) {
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    const int ticks = tickCount(seconds);
    QRandomGenerator& random = *QRandomGenerator::global();
    for (int i = 0; i < ticks; ++i) {
        if (!words.isEmpty()) {
            const float r = 0.75f + 0.25f * float(random.generateDouble());
            claim();
            m_state.pushLevel(r * float(envelope(i)));
            const QString shown = visiblePrefix(words, i, ticks);
            if (shown != m_state.liveText()) {
                claim();
                m_state.setLiveText(shown);
            }
        } else {
            claim();
            m_state.pushLevel(0.05f * float(random.generateDouble()));
        }
        co_await pause(kTick, cancel);
    }
}

QCoro::Task<> DemoRunner::processing(QStringList steps, CancelToken cancel) {
    claim();
    m_state.setStage(Stage::processing);
    for (const QString& step : steps) {
        claim();
        m_state.setStatusText(step);
        co_await pause(Clock::Duration(1100), cancel);
    }
}

QCoro::Task<> DemoRunner::result(Stage stage, QString label, double hold, CancelToken cancel) {
    claim();
    m_state.setStatusText(label);
    if (stage == Stage::error) {
        claim();
        m_state.setErrorCount(m_state.errorCount() + 1);
    }
    claim();
    m_state.setStage(stage);
    co_await pause(Clock::Duration(qint64(std::llround(hold * 1000))), cancel);
    if (m_state.stage() != Stage::idle) {
        claim();
        m_state.setStage(Stage::idle);
    }
    co_await pause(Clock::Duration(700), cancel);
}

QCoro::Task<> DemoRunner::pause(Clock::Duration delay, CancelToken cancel) {
    co_await m_clock.sleep(delay, cancel);
}

} // namespace nolvea
