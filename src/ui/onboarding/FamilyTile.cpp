#include "ui/onboarding/FamilyTile.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/SiteKit.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QPainter>

#include <algorithm>

namespace nolvea {

using AIStepModel::Family;

namespace {

QColor blend(const QColor& from, const QColor& to, double t) {
    const auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return QColor::fromRgbF(
        float(mix(from.redF(), to.redF())), float(mix(from.greenF(), to.greenF())),
        float(mix(from.blueF(), to.blueF())), float(mix(from.alphaF(), to.alphaF())));
}

} // namespace

FamilyTile::FamilyTile(Family family, QWidget* parent)
    : QAbstractButton(parent)
    , m_family(family) {
    const auto look = AIStepModel::look(family);
    setAccessibleName(look.title);
    setAccessibleDescription(look.subtitle);
    setCursor(Qt::PointingHandCursor);
    setCheckable(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool moving = m_highlight.advance(dt);
        return m_foundShown.advance(dt) || moving;
    });
}

void FamilyTile::setState(bool selected, bool found) {
    if (selected == m_selected && found == m_found) return;
    if (selected != m_selected) m_driver->animate(m_highlight, selected ? 1 : 0, Theme::snappy());
    if (found != m_found) m_driver->animate(m_foundShown, found ? 1 : 0, Theme::snappy());
    m_selected = selected;
    m_found = found;
    update();
}

QSize FamilyTile::sizeHint() const {
    return {200, 62};
}

void FamilyTile::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    // The plain sheet, and the highlighted one over it as far as the selection has come.
    const double highlight = std::clamp(m_highlight.value(), 0.0, 1.0);
    SiteKit::paintSheet(p, r, 12, false);
    if (highlight > 0) {
        p.save();
        p.setOpacity(highlight);
        SiteKit::paintSheet(p, r, 12, true);
        p.restore();
    }
    const auto look = AIStepModel::look(m_family);
    const QPixmap icon =
        Symbols::pixmap(look.symbol, 17, blend(Brand::chuva(), Brand::tinta(), highlight));
    const double x = 12;
    if (!icon.isNull()) p.drawPixmap(QPointF(x + 2, r.center().y() - 8.5), icon);
    const QFont title = OnboardingFonts::brand(14, OnboardingFonts::Weight::bold);
    const QFont subtitle = OnboardingFonts::brand(12, OnboardingFonts::Weight::regular);
    const double tx = x + 22 + 10;
    p.setFont(title);
    p.setPen(Brand::tinta());
    p.drawText(QRectF(tx, 12, r.width() - tx - 20, r.height() / 2 - 12),
               Qt::AlignLeft | Qt::AlignBottom, look.title);
    p.setFont(subtitle);
    p.setPen(Brand::suave());
    p.drawText(QRectF(tx, r.height() / 2 + 2, r.width() - tx - 20, r.height() / 2 - 12),
               Qt::AlignLeft | Qt::AlignTop, look.subtitle);
    if (const double found = std::clamp(m_foundShown.value(), 0.0, 1.0); found > 0) {
        p.setOpacity(found);
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::verde());
        p.drawEllipse(QRectF(r.right() - 12 - 7, r.center().y() - 3.5, 7, 7));
    }
}

} // namespace nolvea
