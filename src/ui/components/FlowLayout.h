#pragma once

#include <QLayout>
#include <QList>
#include <QRect>
#include <QSize>

#include <limits>

namespace nolvea {

// Lays its items out like words in a paragraph: left to right at their ideal sizes, wrapping
// onto a new row when the next item would pass the width, rows `spacing` apart and top-aligned.
// A row always takes its first item, even one wider than the width.
class FlowLayout : public QLayout {
public:
    static constexpr int kUnlimited = std::numeric_limits<int>::max();

    explicit FlowLayout(int spacing, QWidget* parent = nullptr);
    ~FlowLayout() override;

    struct Arrangement {
        QList<QRect> frames; // one per item, in order
        QSize size;          // the widest row's extent and the rows' total height
    };
    // The places of items of `sizes` within `width` starting at `origin`.
    static Arrangement arrange(const QList<QSize>& sizes, int width, int spacing,
                               QPoint origin = {});

    int flowSpacing() const { return m_spacing; }

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(m_items.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    QList<QSize> itemSizes() const;

    int m_spacing;
    QList<QLayoutItem*> m_items;
};

} // namespace nolvea
