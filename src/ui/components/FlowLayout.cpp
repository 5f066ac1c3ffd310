#include "ui/components/FlowLayout.h"

#include <QWidget>

namespace nolvea {

FlowLayout::FlowLayout(int spacing, QWidget* parent)
    : QLayout(parent)
    , m_spacing(spacing) {
    setContentsMargins(0, 0, 0, 0);
}

FlowLayout::~FlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

FlowLayout::Arrangement FlowLayout::arrange(const QList<QSize>& sizes, int width, int spacing,
                                            QPoint origin) {
    Arrangement out;
    const qint64 limit =
        width == kUnlimited ? std::numeric_limits<qint64>::max() : qint64(origin.x()) + width;
    qint64 x = origin.x();
    int y = origin.y();
    int rowHeight = 0;
    int widest = 0;
    for (const QSize& s : sizes) {
        // Strictly past the limit: an item ending on it stays.
        if (x > origin.x() && x + s.width() > limit) {
            x = origin.x();
            y += rowHeight + spacing;
            rowHeight = 0;
        }
        out.frames.append(QRect(QPoint(int(x), y), s));
        widest = std::max(widest, int(x + s.width() - origin.x()));
        x += s.width() + spacing;
        rowHeight = std::max(rowHeight, s.height());
    }
    out.size = sizes.isEmpty() ? QSize(0, 0) : QSize(widest, y - origin.y() + rowHeight);
    return out;
}

void FlowLayout::addItem(QLayoutItem* item) {
    m_items.append(item);
}

QLayoutItem* FlowLayout::itemAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index] : nullptr;
}

QLayoutItem* FlowLayout::takeAt(int index) {
    return index >= 0 && index < m_items.size() ? m_items.takeAt(index) : nullptr;
}

QList<QSize> FlowLayout::itemSizes() const {
    QList<QSize> sizes;
    for (QLayoutItem* item : m_items)
        if (!item->isEmpty()) sizes.append(item->sizeHint());
    return sizes;
}

int FlowLayout::heightForWidth(int width) const {
    return arrange(itemSizes(), width, m_spacing).size.height();
}

QSize FlowLayout::sizeHint() const {
    return arrange(itemSizes(), kUnlimited, m_spacing).size;
}

QSize FlowLayout::minimumSize() const {
    QSize widest(0, 0);
    for (const QSize& s : itemSizes())
        widest = widest.expandedTo(s);
    return widest;
}

void FlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QList<QLayoutItem*> shown;
    for (QLayoutItem* item : m_items)
        if (!item->isEmpty()) shown.append(item);
    const Arrangement a = arrange(itemSizes(), rect.width(), m_spacing, rect.topLeft());
    for (qsizetype i = 0; i < shown.size(); ++i)
        shown[i]->setGeometry(a.frames[i]);
}

} // namespace nolvea
