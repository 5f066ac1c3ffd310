#include "ui/onboarding/KeyboardKey.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/Theme.h"
#include "ui/onboarding/HotkeyTest.h"
#include "ui/onboarding/OnboardingFonts.h"
#include "ui/onboarding/OnboardingMotion.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace nolvea {

KeyboardKey::KeyboardKey(QString symbol, QString name, int width,
                         std::optional<HotkeyChoice> choice, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(std::move(symbol))
    , m_name(std::move(name))
    , m_width(width)
    , m_choice(choice) {
    setEnabled(choice.has_value());
    setFixedSize(width, 58);
    setCursor(choice ? Qt::PointingHandCursor : Qt::ArrowCursor);
    const QString label = choice ? HotkeyTest::label(*choice) : QString();
    setToolTip(label);
    setAccessibleName(choice ? label : (m_name.isEmpty() ? QStringLiteral("espaço") : m_name));
    m_driver = new FrameDriver(this, [this](double dt) {
        const bool chosenMoves = m_chosenIn.advance(dt);
        const bool litMoves = m_litIn.advance(dt);
        return chosenMoves || litMoves;
    });
}

void KeyboardKey::setState(bool chosen, bool lit) {
    if (chosen == m_chosen && lit == m_lit) return;
    m_chosen = chosen;
    m_lit = lit;
    m_driver->animate(m_chosenIn, chosen ? 1 : 0, Theme::morph());
    m_driver->animate(m_litIn, lit ? 1 : 0, Theme::snappy());
    setAccessibleDescription(
        chosen ? (lit ? QStringLiteral("escolhida, pressionada") : QStringLiteral("escolhida"))
               : QString());
    update();
}

QSize KeyboardKey::sizeHint() const {
    return {m_width, 58};
}

QFont KeyboardKey::nameFont(const QString& name, double width) {
    constexpr double kPixels = 10.5;
    QFont font = OnboardingFonts::system(kPixels, QFont::DemiBold);
    const double advance = QFontMetricsF(font).horizontalAdvance(name);
    if (advance > width) {
        // Rounded down a little, as a smaller size can still come out a hair wider.
        BrandFont::setPixels(font, std::floor(kPixels * width / advance * 10) / 10);
    }
    return font;
}

void KeyboardKey::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const auto look =
        OnboardingMotion::key(m_choice.has_value(), m_chosenIn.value(), m_litIn.value());
    QRectF r = rect();
    p.translate(r.center() + QPointF(0, look.dy));
    p.scale(look.scale, look.scale);
    p.translate(-r.center());
    QPainterPath shape;
    shape.addRoundedRect(r, 9, 9);
    p.fillPath(shape, Brand::withOpacity(Brand::tinta(), look.fill));
    if (look.edge > 0.001) {
        // The key's lower edge.
        p.save();
        p.setClipRect(QRectF(r.left(), r.bottom() - 3, r.width(), 3));
        p.setPen(QPen(Brand::withOpacity(Brand::tinta(), look.edge), 1));
        QPainterPath edge;
        edge.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 8.5, 8.5);
        p.drawPath(edge);
        p.restore();
    }
    const double ink = m_choice ? 0.7 : 0.22;
    const QColor dark = Brand::tinta();
    const double w = std::clamp(look.white, 0.0, 1.0);
    p.setPen(QColor::fromRgbF(
        float(dark.redF() + (1 - dark.redF()) * w), float(dark.greenF() + (1 - dark.greenF()) * w),
        float(dark.blueF() + (1 - dark.blueF()) * w), float(ink + (1 - ink) * w)));
    const QRectF face = r.adjusted(8, 8, -8, -8);
    const Qt::Alignment side =
        m_choice == HotkeyChoice::fn || !m_choice ? Qt::AlignLeft : Qt::AlignRight;
    p.setFont(OnboardingFonts::system(15, QFont::DemiBold));
    p.drawText(face, side | Qt::AlignTop, m_symbol);
    p.setFont(nameFont(m_name, face.width()));
    p.drawText(face, side | Qt::AlignBottom, m_name);
}

} // namespace nolvea
