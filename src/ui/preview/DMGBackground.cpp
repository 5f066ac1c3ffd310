#include "ui/preview/DMGBackground.h"

#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QSaveFile>

#include <algorithm>

namespace nolvea {

namespace {

// Sizes are in points; a QImage counts 72 of them an inch, so a point size is a pixel size.
QFont systemFont(double points, QFont::Weight weight) {
    QFont f;
    f.setPointSizeF(points);
    f.setWeight(weight);
    return f;
}

QFont semiboldFace(double points) {
    QFont f = BrandFont::font(BrandFont::Face::semiBold, points, QFont::DemiBold);
    f.setPointSizeF(points);
    return f;
}

QColor ink() {
    return Brand::noite();
}

// An open padlock in `box`: the body below, the shackle lifted off to the right.
void paintOpenLock(QPainter& p, const QRectF& box, const QColor& color) {
    const double w = box.width();
    const QRectF body(box.left() + w * 0.08, box.top() + box.height() * 0.45, w * 0.7,
                      box.height() * 0.55);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(body, w * 0.1, w * 0.1);
    QPainterPath shackle;
    const double r = body.width() * 0.3;
    const double cx = body.right() - r * 0.4;
    shackle.moveTo(body.center().x(), body.top());
    shackle.lineTo(body.center().x(), box.top() + r + 1);
    shackle.arcTo(QRectF(body.center().x(), box.top() + 1, 2 * r, 2 * r), 180, -180);
    shackle.lineTo(cx + r * 1.4, box.top() + r * 1.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, w * 0.12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shackle);
}

// A bold chevron pointing right, `height` tall, its left edge at `x`.
void paintChevron(QPainter& p, double x, double centreY, double height, const QColor& color) {
    const double half = height / 2;
    QPainterPath path;
    path.moveTo(x + 2, centreY - half + 2);
    path.lineTo(x + half - 1, centreY);
    path.lineTo(x + 2, centreY + half - 2);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(color, 3.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

void paintCapsule(QPainter& p, const QPointF& centre, QSizeF size, const QColor& color) {
    const QRectF r(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                   size.height());
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(r, size.height() / 2, size.height() / 2);
}

void paintCard(QPainter& p) {
    constexpr double padding = 18, spacing = 9, frameWidth = 580, badge = 20;
    const QFont header = semiboldFace(15);
    const QFont number = systemFont(11, QFont::Bold);
    const QFont title = systemFont(12.5, QFont::DemiBold);
    const QFont detail = systemFont(11.5, QFont::Normal);
    const QFontMetricsF headerM(header), titleM(title), detailM(detail);

    const double symbol = 15;
    const double headerHeight = std::max(headerM.height(), symbol);
    const double rowHeight = std::max(badge, titleM.height() + 1 + detailM.height());
    const auto& steps = DMGBackground::steps();
    const double contentHeight =
        headerHeight + double(steps.size()) * (spacing + rowHeight) + 2 * padding;
    const QRectF card(330 - frameWidth / 2, 365 - contentHeight / 2, frameWidth, contentHeight);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgbF(1, 1, 1, 0.75));
    p.drawRoundedRect(card, 18, 18);

    double x = card.left() + padding;
    double y = card.top() + padding;
    paintOpenLock(p, QRectF(x, y + (headerHeight - symbol) / 2, symbol, symbol), Brand::roxo());
    p.setFont(header);
    p.setPen(ink());
    p.drawText(QRectF(x + symbol + 6, y, frameWidth, headerHeight),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Na primeira vez que abrir"));
    y += headerHeight;

    for (int i = 0; i < steps.size(); ++i) {
        y += spacing;
        const QRectF circle(x, y, badge, badge);
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::roxo());
        p.drawEllipse(circle);
        p.setFont(number);
        p.setPen(Qt::white);
        p.drawText(circle, Qt::AlignCenter, QString::number(i + 1));

        const double textX = x + badge + 10;
        const double textWidth = card.right() - padding - textX;
        p.setFont(title);
        p.setPen(ink());
        p.drawText(QRectF(textX, y, textWidth, titleM.height()), Qt::AlignLeft | Qt::AlignTop,
                   steps[i].title);
        p.setFont(detail);
        p.setPen(Brand::withOpacity(ink(), 0.65));
        p.drawText(QRectF(textX, y + titleM.height() + 1, textWidth, detailM.height()),
                   Qt::AlignLeft | Qt::AlignTop, steps[i].detail);
        y += rowHeight;
    }

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Brand::withOpacity(ink(), 0.08), 1));
    p.drawRoundedRect(card, 18, 18);
}

} // namespace

const QList<DMGBackground::Step>& DMGBackground::steps() {
    static const QList<Step> steps{
        {QStringLiteral("Abra a Nolvea em Aplicativos."),
         QStringLiteral("Se aparecer “Nolvea não foi aberto”, clique em Concluído.")},
        {QStringLiteral("Abra Ajustes do Sistema › Privacidade e Segurança."),
         QStringLiteral("Role até o fim e clique em Abrir Mesmo Assim.")},
        {QStringLiteral("Confirme com a sua senha."),
         QStringLiteral("Pronto! Isso só acontece na primeira vez.")},
    };
    return steps;
}

const QList<DMGBackground::File>& DMGBackground::files() {
    static const QList<File> files{{QStringLiteral("fundo.png"), 1},
                                   {QStringLiteral("fundo@2x.png"), 2}};
    return files;
}

void DMGBackground::paint(QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF canvas(0, 0, kWidth, kHeight);
    p.setClipRect(canvas);
    p.fillRect(canvas, QColor::fromRgbF(0.965f, 0.957f, 0.945f));

    p.setFont(semiboldFace(21));
    p.setPen(ink());
    const QFontMetricsF titleM(p.font());
    p.drawText(QRectF(0, 44 - titleM.height() / 2, kWidth, titleM.height()), Qt::AlignCenter,
               QStringLiteral("Arraste a Nolvea para Aplicativos"));

    // The arrow from the application's slot to the folder's: a bar and a chevron, centred.
    constexpr double bar = 120, gap = 4, chevron = 18;
    const double arrowWidth = bar + gap + chevron / 2;
    const double left = 330 - arrowWidth / 2;
    paintCapsule(p, {left + bar / 2, 175}, {bar, 5}, Brand::roxo());
    paintChevron(p, left + bar + gap - 2, 175, chevron, Brand::roxo());

    const QColor backdrop = QColor::fromRgbF(0.5f, 0.5f, 0.58f, 0.55f);
    for (const QPointF slot : {appSlot, folderSlot})
        paintCapsule(p, slot + QPointF(0, 66), {112, 22}, backdrop);

    paintCard(p);
    p.restore();
}

QImage DMGBackground::render(int scale) {
    QImage image(kWidth * scale, kHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter p(&image);
    paint(p);
    p.end();
    return image;
}

QStringList DMGBackground::render(const QString& folder) {
    QDir().mkpath(folder);
    const QDir dir(folder);
    QStringList failed;
    for (const File& f : files()) {
        const QImage image = render(f.scale);
        QSaveFile file(dir.filePath(f.name));
        // The last bytes are written by the flush, whose failure the commit would not see.
        const bool written = !image.isNull() && file.open(QIODevice::WriteOnly) &&
                             image.save(&file, "PNG") && file.flush() && file.commit();
        if (!written) failed << f.name;
    }
    return failed;
}

} // namespace nolvea
