#include "ui/components/SiteKit.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace nolvea {

SiteKit::ButtonMetrics SiteKit::metrics(Kind kind, Size size) {
    const bool quiet = kind == Kind::quiet;
    switch (size) {
    case Size::small:
        return {12.5, 28, 12};
    case Size::regular:
        return {14.5, 38, quiet ? 12.0 : 18.0};
    case Size::large:
        break;
    }
    return {16, 48, quiet ? 12.0 : 18.0};
}

SiteKit::ButtonLook SiteKit::look(Kind kind, bool hover, bool enabled) {
    const bool h = hover && enabled;
    const double opacity = enabled ? 1.0 : kDisabledOpacity;
    switch (kind) {
    case Kind::primary:
        return {h ? Brand::roxo2() : Brand::roxo(), Qt::white, std::nullopt, 0, opacity};
    case Kind::secondary:
        return {h ? Brand::tinta() : QColor(Qt::transparent), h ? Brand::chao() : Brand::tinta(),
                Brand::tinta(), 1.5, opacity};
    case Kind::quiet:
        break;
    }
    return {h ? Brand::withOpacity(Brand::tinta(), 0.06) : QColor(Qt::transparent), Brand::tinta2(),
            std::nullopt, 0, opacity};
}

QFont SiteKit::buttonFont(Size size) {
    return BrandFont::font(BrandFont::Face::semiBold, metrics(Kind::primary, size).fontPixels,
                           QFont::DemiBold);
}

SiteKit::SheetBorder SiteKit::sheetBorder(bool highlighted) {
    return highlighted ? SheetBorder{Brand::tinta(), 1.5} : SheetBorder{Brand::nevoa(), 1};
}

void SiteKit::paintSheet(QPainter& p, const QRectF& rect, double radius, bool highlighted) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath sheet;
    sheet.addRoundedRect(rect, radius, radius);
    p.fillPath(sheet, Brand::folha());
    const SheetBorder b = sheetBorder(highlighted);
    // Inside the edge: the stroke is inset by half its width so it never spills out.
    const double inset = b.width / 2;
    QPen pen(b.color, b.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(rect.adjusted(inset, inset, -inset, -inset), radius - inset, radius - inset);
    p.restore();
}

double SiteKit::ruleHeight(bool forte) {
    return forte ? 1.5 : 1.0;
}

QColor SiteKit::ruleColor(bool forte) {
    return forte ? Brand::tinta() : Brand::nevoa();
}

QFont SiteKit::titleFont(double pixels) {
    QFont f = BrandFont::font(BrandFont::Face::extraBold, pixels, QFont::ExtraBold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, titleTracking(pixels));
    return f;
}

void SiteKit::applyTitle(QLabel* label, double pixels) {
    label->setFont(titleFont(pixels));
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Brand::tinta());
    label->setPalette(pal);
}

} // namespace nolvea
