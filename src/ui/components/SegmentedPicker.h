#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;

namespace nolvea {

// A row of joined segments, exactly one chosen.
class SegmentedPicker : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedPicker(const QStringList& labels, int width, QWidget* parent = nullptr);

    int currentIndex() const;
    // Shows `index` without emitting.
    void setCurrentIndex(int index);

Q_SIGNALS:
    void activated(int index);

private:
    QButtonGroup* m_group;
};

} // namespace nolvea
