#include "ui/components/WaveformView.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/WaveformModel.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace nolvea {

WaveformView::WaveformView(QList<float> levels, Theme::Palette palette, double barWidth,
                           double spacing, double intensity, QWidget* parent)
    : QWidget(parent)
    , m_levels(std::move(levels))
    , m_palette(std::move(palette))
    , m_barWidth(barWidth)
    , m_spacing(spacing)
    , m_intensity(intensity) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_driver = new FrameDriver(this);
    m_driver->setContinuous(true);
    const int w = int(std::ceil(WaveformModel::width(m_levels.size(), barWidth, spacing)));
    setMinimumWidth(w);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void WaveformView::setLevels(QList<float> levels) {
    const bool resized = levels.size() != m_levels.size();
    m_levels = std::move(levels);
    if (resized) {
        setMinimumWidth(
            int(std::ceil(WaveformModel::width(m_levels.size(), m_barWidth, m_spacing))));
        updateGeometry();
    }
    update();
}

void WaveformView::setPalette(Theme::Palette palette) {
    m_palette = std::move(palette);
    update();
}

bool WaveformView::isClockRunning() const {
    return m_driver->isActive();
}

QSize WaveformView::sizeHint() const {
    return QSize(int(std::ceil(WaveformModel::width(m_levels.size(), m_barWidth, m_spacing))), 26);
}

void WaveformView::draw(QPainter& p, const QSizeF& size, const QList<float>& levels,
                        const QColor& accent, double barWidth, double spacing, double intensity,
                        double t) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (const auto& bar :
         WaveformModel::bars(levels, size.height(), barWidth, spacing, intensity, t)) {
        QPainterPath path;
        path.addRoundedRect(bar.rect, bar.cornerRadius, bar.cornerRadius);
        p.setOpacity(bar.opacity);
        p.fillPath(path, accent);
    }
    p.restore();
}

void WaveformView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double w = WaveformModel::width(m_levels.size(), m_barWidth, m_spacing);
    p.translate((width() - w) / 2, 0);
    draw(p, QSizeF(w, height()), m_levels, m_palette.accent, m_barWidth, m_spacing, m_intensity,
         m_driver->time());
}

} // namespace nolvea
