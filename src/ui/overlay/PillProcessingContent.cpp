#include "ui/overlay/PillProcessingContent.h"

#include "core/AppState.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/BrandFont.h"
#include "ui/components/BrandMark.h"
#include "ui/components/ShimmerText.h"
#include "ui/components/Theme.h"

#include <QHBoxLayout>

namespace nolvea {

PillProcessingContent::PillProcessingContent(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    BrandMarkInputs mark;
    mark.level = 0.15;
    mark.ball = state.mode() == VoiceMode::agent;
    mark.animated = true;
    mark.busy = true;
    m_mark = new BrandMark(mark);
    m_mark->setFixedSize(34, 26);
    m_mark->setAccessibleName(QStringLiteral("Processando"));
    row->addWidget(m_mark);
    QFont f;
    BrandFont::setPixels(f, 13);
    f.setWeight(QFont::Medium);
    m_status = new ShimmerText({}, f, Qt::white);
    row->addWidget(m_status);
    // A new status is a new line: the old one blurs away as the new one blurs in.
    m_replace = new ReplaceTransition(m_status, Theme::snappy(), &Transitions::blurReplace);
    connect(&state, &AppState::modeChanged, this,
            [this] { m_mark->setBall(m_state.mode() == VoiceMode::agent); });
}

void PillProcessingContent::setStatus(const QString& text) {
    if (text == m_status->text()) return;
    if (!m_status->text().isEmpty()) m_replace->aboutToChange();
    m_status->setText(text);
    m_status->setAccessibleName(text);
    m_status->setFixedSize(m_status->sizeHint());
    updateGeometry();
}

} // namespace nolvea
