#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/onboarding/AIStepModel.h"

#include <QAbstractButton>

namespace nolvea {

class FrameDriver;

// One of the three family tiles: where the model runs.
class FamilyTile : public QAbstractButton {
    Q_OBJECT

public:
    FamilyTile(AIStepModel::Family family, QWidget* parent = nullptr);

    AIStepModel::Family family() const { return m_family; }
    void setState(bool selected, bool found);
    bool isSelected() const { return m_selected; }
    bool isFound() const { return m_found; }
    // 0 plain, 1 highlighted; between the two while the selection moves.
    double highlight() const { return m_highlight.value(); }
    // How far the found mark has faded in (0 to 1).
    double foundShown() const { return m_foundShown.value(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    AIStepModel::Family m_family;
    bool m_selected = false;
    bool m_found = false;
    SpringValue m_highlight;
    SpringValue m_foundShown;
    FrameDriver* m_driver;
};

} // namespace nolvea
