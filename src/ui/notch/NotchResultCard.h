#pragma once

#include "ui/animation/SpringValue.h"

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class FrameDriver;

// A finished agent action: a success badge (a paper plane for an e-mail), the status text and
// the request that led to it.
class NotchResultCard : public QWidget {
    Q_OBJECT

public:
    explicit NotchResultCard(AppState& state, QWidget* parent = nullptr);

    QLabel* status() const { return m_status; }
    QLabel* request() const { return m_request; }
    bool showsPlane() const;
    // How far the paper plane has flown: 0 before, 1 once the check mark has taken its place.
    double flown() const { return m_flown.value(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void showEvent(QShowEvent* e) override;
    void resizeEvent(QResizeEvent*) override { refresh(); }

private:
    void refresh();
    bool step(double dt);

    AppState& m_state;
    QLabel* m_status;
    QLabel* m_request;
    FrameDriver* m_driver;
    SpringValue m_flown{0};
    double m_wait = -1; // before the flight starts
    double m_bounce = -1;
    bool m_started = false;
};

} // namespace nolvea
