#include "ui/components/SegmentedPicker.h"

#include "ui/components/Brand.h"
#include "ui/components/SettingsText.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>

namespace nolvea {

SegmentedPicker::SegmentedPicker(const QStringList& labels, int width, QWidget* parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    setFixedWidth(width);
    const QString ink = Brand::tinta().name();
    const QString edge = Brand::bordaCampo().name();
    const QString on = Brand::roxo().name();
    for (int i = 0; i < labels.size(); ++i) {
        auto* b = new QPushButton(labels[i], this);
        b->setCheckable(true);
        b->setAccessibleName(labels[i]);
        b->setFont(SettingsText::systemFont(12, QFont::Medium));
        b->setCursor(Qt::PointingHandCursor);
        const QString left = i == 0 ? QStringLiteral("6px") : QStringLiteral("0");
        const QString right = i == labels.size() - 1 ? QStringLiteral("6px") : QStringLiteral("0");
        b->setStyleSheet(QStringLiteral("QPushButton{background:white;color:%1;border:1px solid %2;"
                                        "border-top-left-radius:%4;border-bottom-left-radius:%4;"
                                        "border-top-right-radius:%5;border-bottom-right-radius:%5;"
                                        "padding:4px 6px;}"
                                        "QPushButton:checked{background:%3;color:white;"
                                        "border-color:%3;}")
                             .arg(ink, edge, on, left, right));
        m_group->addButton(b, i);
        row->addWidget(b, 1);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedPicker::activated);
}

int SegmentedPicker::currentIndex() const {
    return m_group->checkedId();
}

void SegmentedPicker::setCurrentIndex(int index) {
    const QSignalBlocker block(m_group);
    if (QAbstractButton* b = m_group->button(index)) b->setChecked(true);
}

} // namespace nolvea
