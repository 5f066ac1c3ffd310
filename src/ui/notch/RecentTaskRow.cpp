#include "ui/notch/RecentTaskRow.h"

#include "support/Clock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/RecentEntries.h"

#include <QPainter>

#include <algorithm>

namespace nolvea {

namespace {

QString kindSymbol(HistoryEntry::Kind kind) {
    switch (kind) {
    case HistoryEntry::Kind::dictation:
        return QStringLiteral("waveform");
    case HistoryEntry::Kind::edit:
        return QStringLiteral("pencil");
    case HistoryEntry::Kind::agent:
        break;
    }
    return QStringLiteral("sparkles");
}

} // namespace

RecentTaskRow::RecentTaskRow(HistoryEntry entry, QWidget* parent)
    : QAbstractButton(parent)
    , m_entry(std::move(entry))
    , m_driver(new FrameDriver(this, [this](double dt) { return m_highlight.advance(dt); })) {
    const QString title = RecentEntries::title(m_entry);
    setAccessibleName(title);
    setAccessibleDescription(RecentEntries::kindLabel(m_entry.kind));
    setToolTip(QStringLiteral("Ver conversa inteira"));
    setCursor(Qt::PointingHandCursor);
}

void RecentTaskRow::enterEvent(QEnterEvent*) {
    m_hovering = true;
    m_driver->animate(m_highlight, 1, Theme::snappy());
}

void RecentTaskRow::leaveEvent(QEvent*) {
    m_hovering = false;
    m_driver->animate(m_highlight, 0, Theme::snappy());
}

void RecentTaskRow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect();
    const double highlight = std::clamp(m_highlight.value(), 0.0, 1.0);
    if (highlight > 0.001) {
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::withOpacity(Qt::white, 0.07 * highlight));
        p.drawRoundedRect(r, 10, 10);
    }
    const int cy = height() / 2;
    // The kind's icon on a faint circle.
    p.setPen(Qt::NoPen);
    p.setBrush(Brand::withOpacity(Qt::white, 0.08));
    p.drawEllipse(QRectF(8, cy - 12, 24, 24));
    p.drawPixmap(QRect(14, cy - 6, 12, 12),
                 Symbols::pixmap(kindSymbol(m_entry.kind), 12, Brand::withOpacity(Qt::white, 0.8)));

    QFont small = font();
    BrandFont::setPixels(small, 10);
    const QString age = RecentEntries::relativeDate(m_entry.date, Clock::shared().now(), false);
    const int ageWidth = QFontMetrics(small).horizontalAdvance(age);
    const int chevron = 12;
    const int right = width() - 8 - chevron - 6;
    p.setFont(small);
    p.setPen(Brand::withOpacity(Qt::white, 0.35));
    p.drawText(QRect(right - ageWidth, 0, ageWidth, height()), Qt::AlignVCenter, age);
    if (highlight > 0.001)
        p.drawPixmap(QRect(width() - 8 - chevron, cy - 5, 10, 10),
                     Symbols::pixmap(QStringLiteral("chevron.right"), 10,
                                     Brand::withOpacity(Qt::white, 0.5 * highlight)));

    QFont f = font();
    BrandFont::setPixels(f, 12);
    p.setFont(f);
    p.setPen(Brand::withOpacity(Qt::white, 0.85));
    const int left = 8 + 24 + 10;
    const int room = right - ageWidth - 8 - left;
    QString title = RecentEntries::title(m_entry).simplified();
    title = QFontMetrics(f).elidedText(title, Qt::ElideRight, std::max(0, room));
    p.drawText(QRect(left, 0, room, height()), Qt::AlignVCenter, title);
}

} // namespace nolvea
