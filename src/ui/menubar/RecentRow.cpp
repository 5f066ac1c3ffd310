#include "ui/menubar/RecentRow.h"

#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/menubar/MenuBarStyle.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace nolvea {

namespace {

constexpr int kKindFrame = 14;
constexpr int kSpacing = 8;
constexpr int kCopySide = 10;

} // namespace

RecentRow::RecentRow(const QString& symbol, const QString& output, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
    , m_output(output) {
    setFont(MenuBarStyle::font(12));
    setToolTip(QStringLiteral("Copiar"));
    setAccessibleName(QStringLiteral("Copiar: ") + output);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int RecentRow::textWidth(int width) const {
    return std::max(20, width - kKindFrame - kCopySide - 3 * kSpacing);
}

QStringList RecentRow::lines(int width) const {
    const QFontMetrics fm(font());
    QTextLayout layout(m_output, font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QStringList out;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        if (out.size() == kMaxLines - 1) {
            // The rest goes on the last line, cut to fit.
            QString rest = m_output.mid(line.textStart());
            rest.replace(u'\n', u' ');
            out << fm.elidedText(rest, Qt::ElideRight, width);
            break;
        }
        out << m_output.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (out.isEmpty()) out << QString();
    return out;
}

int RecentRow::heightForWidth(int width) const {
    return int(lines(textWidth(width)).size()) * QFontMetrics(font()).lineSpacing();
}

QSize RecentRow::sizeHint() const {
    const int w = width() > 0 ? width() : 300;
    return {w, heightForWidth(w)};
}

void RecentRow::enterEvent(QEnterEvent* e) {
    m_hover = true;
    update();
    QAbstractButton::enterEvent(e);
}

void RecentRow::leaveEvent(QEvent* e) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(e);
}

void RecentRow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (m_hover || hasFocus()) {
        p.setPen(Qt::NoPen);
        p.setBrush(Brand::withOpacity(Qt::white, 0.06));
        p.drawRoundedRect(QRectF(rect()).adjusted(-4, -2, 4, 2), 6, 6);
    }
    const QFontMetrics fm(font());
    const qreal dpr = devicePixelRatioF();
    const QPixmap kind = Symbols::pixmap(m_symbol, 10, MenuBarStyle::secondary(), dpr);
    if (!kind.isNull()) p.drawPixmap(QPointF((kKindFrame - 10) / 2.0, 2 + 2), kind);

    const int x = kKindFrame + kSpacing;
    const int w = textWidth(width());
    p.setPen(MenuBarStyle::primary());
    p.setFont(font());
    int y = 0;
    for (const QString& line : lines(w)) {
        p.drawText(QRect(x, y, w, fm.lineSpacing()), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += fm.lineSpacing();
    }
    const QPixmap copy =
        Symbols::pixmap(QStringLiteral("doc.on.doc"), kCopySide, MenuBarStyle::tertiary(), dpr);
    if (!copy.isNull())
        p.drawPixmap(QPointF(width() - kCopySide, (fm.lineSpacing() - kCopySide) / 2.0), copy);
}

} // namespace nolvea
