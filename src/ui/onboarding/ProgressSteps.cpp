#include "ui/onboarding/ProgressSteps.h"

#include "ui/components/Brand.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QPainter>

namespace nolvea {

namespace {
constexpr double kMark = 18, kGap = 6, kConnector = 22, kPadX = 14, kPadY = 8;
} // namespace

ProgressSteps::ProgressSteps(OnboardingStep current, QWidget* parent)
    : QWidget(parent)
    , m_current(current) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCurrent(current);
}

void ProgressSteps::setCurrent(OnboardingStep step) {
    m_current = step;
    const int position = int(step); // name is 1
    setAccessibleName(
        QStringLiteral("Passo %1 de 5: %2").arg(position).arg(OnboardingSteps::label(step)));
    updateGeometry();
    update();
}

QSize ProgressSteps::sizeHint() const {
    const QFontMetricsF label(OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold));
    const auto n = double(OnboardingSteps::tracked().size());
    const double width = 2 * kPadX + n * kMark + (n - 1) * (kConnector + 2 * kGap) + kGap +
                         label.horizontalAdvance(OnboardingSteps::label(m_current));
    return QSize(int(std::ceil(width)), int(kMark + 2 * kPadY));
}

void ProgressSteps::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QFont numeral = OnboardingFonts::brand(10, OnboardingFonts::Weight::bold);
    const QFont labelFont = OnboardingFonts::brand(13, OnboardingFonts::Weight::semibold);
    const double cy = height() / 2.0;
    double x = kPadX;
    const auto& steps = OnboardingSteps::tracked();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const OnboardingStep s = steps[i];
        const QRectF mark(x, cy - kMark / 2, kMark, kMark);
        const bool done = int(s) < int(m_current), current = s == m_current;
        p.setPen(Qt::NoPen);
        if (done || current) {
            p.setBrush(done ? Brand::tinta() : Brand::roxo());
            p.drawEllipse(mark);
        } else {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Brand::bordaCampo(), 1));
            p.drawEllipse(mark.adjusted(0.5, 0.5, -0.5, -0.5));
        }
        if (done) {
            QPen pen(Qt::white, 1.6);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            p.setPen(pen);
            const QPointF c = mark.center();
            p.drawPolyline(QList<QPointF>{c + QPointF(-3.5, 0.2), c + QPointF(-1, 2.7),
                                          c + QPointF(3.5, -2.4)});
        } else {
            p.setPen(current ? QColor(Qt::white) : Brand::chuva());
            p.setFont(numeral);
            p.drawText(mark, Qt::AlignCenter, QString::number(int(s)));
        }
        x += kMark;
        if (current) {
            const QString label = OnboardingSteps::label(s);
            const double w = QFontMetricsF(labelFont).horizontalAdvance(label);
            p.setPen(Brand::tinta());
            p.setFont(labelFont);
            p.drawText(QRectF(x + kGap, 0, w + 1, height()), Qt::AlignVCenter | Qt::AlignLeft,
                       label);
            x += kGap + w;
        }
        if (i + 1 < steps.size()) {
            p.fillRect(QRectF(x + kGap, cy - 0.75, kConnector, 1.5),
                       done ? Brand::tinta() : Brand::nevoa());
            x += kConnector + 2 * kGap;
        }
    }
}

} // namespace nolvea
