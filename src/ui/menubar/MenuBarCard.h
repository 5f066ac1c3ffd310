#pragma once

#include <QColor>
#include <QWidget>

#include <optional>

namespace nolvea {

// One card of the tray window: its content padded by 12 on a glass rounded rectangle.
class MenuBarCard : public QWidget {
    Q_OBJECT

public:
    static constexpr int kPadding = 12;
    static constexpr double kRadius = 16;

    explicit MenuBarCard(std::optional<QColor> tint = std::nullopt, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::optional<QColor> m_tint;
};

} // namespace nolvea
