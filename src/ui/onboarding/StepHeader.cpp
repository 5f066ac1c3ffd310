#include "ui/onboarding/StepHeader.h"

#include "ui/components/Brand.h"
#include "ui/components/SiteKit.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace nolvea {

StepHeader::StepHeader(const QString& title, const QString& subtitle, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    m_title = new QLabel(title, this);
    m_title->setTextFormat(Qt::PlainText);
    SiteKit::applyTitle(m_title, 36);
    m_subtitle = OnboardingFonts::label(
        subtitle, OnboardingFonts::brand(15, OnboardingFonts::Weight::regular), Brand::suave(),
        this);
    layout->addWidget(m_title);
    layout->addWidget(m_subtitle);
}

Badge::Badge(const QString& text, const QColor& color, QWidget* parent)
    : QWidget(parent)
    , m_text(text)
    , m_color(color) {
    setAccessibleName(text);
    setFont(OnboardingFonts::brand(10.5, OnboardingFonts::Weight::semibold));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void Badge::setText(const QString& text) {
    if (text == m_text) return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

QSize Badge::sizeHint() const {
    const QFontMetricsF m(font());
    return QSize(int(std::ceil(m.horizontalAdvance(m_text) + 14)), int(std::ceil(m.height() + 6)));
}

void Badge::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    QPainterPath capsule;
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
    p.fillPath(capsule, Brand::withOpacity(m_color, 0.1));
    p.setPen(m_color);
    p.setFont(font());
    p.drawText(r, Qt::AlignCenter, m_text);
}

} // namespace nolvea
