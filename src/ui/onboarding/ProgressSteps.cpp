#include "ui/onboarding/ProgressSteps.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/ProgressMarksModel.h"

#include <QPainter>

#include <cmath>

namespace nolvea {

namespace {

using Model = ProgressMarksModel;

QColor mixed(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

double labelWidth(OnboardingStep s) {
    const QFontMetricsF m(OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold));
    return m.horizontalAdvance(OnboardingSteps::label(s));
}

} // namespace

ProgressSteps::ProgressSteps(OnboardingStep current, QWidget* parent)
    : QWidget(parent)
    , m_previous(current)
    , m_current(current) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_morph.advance(dt);
        updateGeometry();
        return moving;
    });
    setCurrent(current);
}

void ProgressSteps::setCurrent(OnboardingStep step) {
    if (step != m_current) {
        // From wherever the row stands now: a change mid-morph starts from the new step's
        // predecessor at rest.
        m_previous = m_current;
        m_current = step;
        m_morph.jump(0);
        m_driver->animate(m_morph, 1, Theme::morph());
    }
    const int position = int(step); // name is 1
    setAccessibleName(
        QStringLiteral("Passo %1 de 5: %2").arg(position).arg(OnboardingSteps::label(step)));
    updateGeometry();
    update();
}

QSize ProgressSteps::sizeHint() const {
    const double width = Model::layout(m_previous, m_current, m_morph.value(), labelWidth).width;
    return QSize(int(std::ceil(width)), int(Model::kMark + 2 * Model::kPadY));
}

void ProgressSteps::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont numeral = OnboardingFonts::brand(10, OnboardingFonts::Weight::bold);
    const QFont labelFont = OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold);
    const double cy = height() / 2.0;
    const auto row = Model::layout(m_previous, m_current, m_morph.value(), labelWidth);
    // Centred in the room the layout gives while the row changes width.
    p.translate(std::round((width() - row.width) / 2), 0);
    for (const auto& m : row.marks) {
        const QRectF mark(m.x, cy - Model::kMark / 2, Model::kMark, Model::kMark);
        const double filled = std::clamp(m.done + m.current, 0.0, 1.0);
        const QColor fill = mixed(Brand::roxo(), Brand::tinta(), m.done / std::max(filled, 1e-6));
        p.setPen(Qt::NoPen);
        if (filled > 0) {
            p.setBrush(Brand::withOpacity(fill, filled));
            p.drawEllipse(mark);
        }
        if (filled < 1) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Brand::withOpacity(Brand::bordaCampo(), 1 - filled), 1));
            p.drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        if (m.done > 0) {
            // The check mark scales in about the mark's centre.
            p.save();
            p.translate(mark.center());
            p.scale(std::max(0.00001, m.done), std::max(0.00001, m.done));
            QPen pen(Brand::withOpacity(Qt::white, m.done), 1.6);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            p.drawPolyline(QList<QPointF>{{-3.5, 0.2}, {-1, 2.7}, {3.5, -2.4}});
            p.restore();
        }
        if (m.done < 1) {
            p.setPen(Brand::withOpacity(mixed(Brand::chuva(), Qt::white, m.current), 1 - m.done));
            p.setFont(numeral);
            p.drawText(mark, Qt::AlignCenter, QString::number(int(m.step)));
        }
        if (m.current > 0) {
            // The label grows from 0.8 about its leading edge as it fades in.
            const QString label = OnboardingSteps::label(m.step);
            const double w = labelWidth(m.step);
            p.save();
            p.setOpacity(std::clamp(m.current, 0.0, 1.0));
            p.translate(m.labelX, cy);
            const double s = 0.8 + 0.2 * m.current;
            p.scale(s, s);
            p.setPen(Brand::tinta());
            p.setFont(labelFont);
            p.drawText(QRectF(0, -height() / 2.0, w + 1, height()),
                       Qt::AlignVCenter | Qt::AlignLeft, label);
            p.restore();
        }
        if (m.connectorX >= 0)
            p.fillRect(QRectF(m.connectorX, cy - 0.75, Model::kConnector, 1.5),
                       mixed(Brand::nevoa(), Brand::tinta(), m.connectorDone));
    }
}

} // namespace nolvea
