#include "ui/overlay/PillListeningContent.h"

#include "core/AppState.h"
#include "support/Clock.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/BrandMark.h"
#include "ui/components/Theme.h"
#include "ui/components/WaveformView.h"
#include "ui/overlay/PillPresentation.h"

#include <QHBoxLayout>
#include <QLabel>

namespace nolvea {

namespace {
const Theme::Palette& paletteFor(VoiceMode mode) {
    return mode == VoiceMode::agent ? Theme::agent() : Theme::dictation();
}
} // namespace

PillListeningContent::PillListeningContent(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    BrandMarkInputs mark;
    mark.ball = state.mode() == VoiceMode::agent;
    mark.animated = true;
    m_mark = new BrandMark(mark);
    m_mark->setFixedSize(34, 26);
    m_mark->setAccessibleName(QStringLiteral("Ouvindo"));
    row->addWidget(m_mark);
    m_waveform = new WaveformView(state.levels(), paletteFor(state.mode()), 3, 2.5, 1);
    m_waveform->setFixedSize(m_waveform->sizeHint().width(), 26);
    m_waveform->setAccessibleName(QStringLiteral("Nível do microfone"));
    row->addWidget(m_waveform);
    m_timer = new QLabel;
    m_timer->setTextFormat(Qt::PlainText);
    m_timer->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_timer->setFixedWidth(32);
    QFont f = m_timer->font();
    BrandFont::setPixels(f, 12);
    f.setWeight(QFont::Medium);
    m_timer->setFont(f);
    QPalette pal = m_timer->palette();
    pal.setColor(QPalette::WindowText, Brand::withOpacity(Qt::white, 0.6));
    m_timer->setPalette(pal);
    row->addWidget(m_timer);

    connect(&state, &AppState::levelsChanged, this, &PillListeningContent::levelsChanged);
    connect(&state, &AppState::modeChanged, this, &PillListeningContent::modeChanged);
    levelsChanged();
    updateTimer();
}

PillListeningContent::~PillListeningContent() = default;

void PillListeningContent::levelsChanged() {
    const QList<float>& levels = m_state.levels();
    m_mark->setLevel(levels.isEmpty() ? 0 : levels.last());
    m_waveform->setLevels(levels);
}

void PillListeningContent::modeChanged() {
    m_mark->setBall(m_state.mode() == VoiceMode::agent);
    m_waveform->setPalette(paletteFor(m_state.mode()));
}

void PillListeningContent::updateTimer() {
    const bool shows = m_state.listeningSince().has_value();
    m_timer->setVisible(shows);
    if (!shows) {
        m_ticker.reset();
        return;
    }
    tick();
    if (!m_ticker)
        m_ticker =
            Clock::shared().schedule(std::chrono::milliseconds(250), true, [this] { tick(); });
}

void PillListeningContent::tick() {
    if (!m_state.listeningSince()) return;
    const qint64 ms = m_state.listeningSince()->msecsTo(Clock::shared().now());
    m_timer->setText(PillPresentation::timerText(std::chrono::milliseconds(ms)));
}

} // namespace nolvea
