#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/settings/PaneEffect.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

namespace nolvea {

class FrameDriver;

// One switch of the settings column from a pane to the next. Laid over the column, it draws
// the leaving pane (a picture of the column as it was) going away, while the arriving pane,
// live beneath it, comes in through an effect; clicks pass through to the new pane. It ends
// itself when its spring settles.
class PaneTransition : public QWidget {
    Q_OBJECT

public:
    PaneTransition(QWidget* column, QPixmap before, QWidget* arriving);
    ~PaneTransition() override;

    // The arriving pane's presence: 0 at the start, 1 at rest.
    double presence() const { return m_presence.value(); }
    // Puts the new pane at rest at once and goes.
    void finish();

Q_SIGNALS:
    void finished();

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool step(double dt);
    void release();

    QPixmap m_before;
    QPointer<QWidget> m_arriving;
    QPointer<PaneEffect> m_effect;
    SpringValue m_presence;
    FrameDriver* m_driver;
    bool m_done = false;
};

} // namespace nolvea
