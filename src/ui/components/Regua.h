#pragma once

#include <QWidget>

namespace nolvea {

// The horizontal rule: 1 pixel of mist, or 1.5 of ink when strong, across the width offered.
class Regua : public QWidget {
    Q_OBJECT

public:
    explicit Regua(bool forte, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_forte;
};

} // namespace nolvea
