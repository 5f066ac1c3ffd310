#pragma once

#include "ui/animation/EaseOutValue.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// A keyboard key drawn around a short label; a pressed key is drawn inverted and drops 1 px.
class KeyCap : public QWidget {
    Q_OBJECT

public:
    KeyCap(QString label, double size, bool pressed, QWidget* parent = nullptr);

    void setPressed(bool pressed);
    bool isPressed() const { return m_pressed; }
    bool isDark() const;
    QFont labelFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_label;
    double m_size;
    bool m_pressed;
    EaseOutValue m_press;
    FrameDriver* m_driver;
};

} // namespace nolvea
