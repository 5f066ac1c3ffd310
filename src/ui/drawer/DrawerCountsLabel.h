#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/drawer/DrawerCountMotion.h"

#include <QLabel>

namespace nolvea {

class FrameDriver;

// The header's counts. A new text rolls its changed digits into place (`DrawerCountMotion`)
// while it is on screen; otherwise, and under reduced motion, it is simply set.
class DrawerCountsLabel : public QLabel {
public:
    explicit DrawerCountsLabel(QWidget* parent = nullptr);

    void setCounts(const QString& text);
    bool isRolling() const;
    double progress() const { return m_progress.value(); }
    const QList<DrawerCountMotion::Piece>& pieces() const { return m_pieces; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool step(double dt);

    FrameDriver* m_driver;
    SpringValue m_progress{1};
    QString m_from;
    QList<DrawerCountMotion::Piece> m_pieces;
    int m_direction = 1;
};

} // namespace nolvea
