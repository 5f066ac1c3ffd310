#pragma once

#include <QAbstractButton>
#include <QColor>

#include <optional>

namespace nolvea {

// A glass capsule button with a symbol and, unless icon-only, a title. The prominent kind is
// filled with a tint. The title is always the accessible name.
class MenuBarButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Size { small, regular };

    MenuBarButton(const QString& title, const QString& symbol, bool iconOnly, Size size,
                  std::optional<QColor> prominentTint = std::nullopt, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // A titled button may give up part of its title, elided, rather than overlap its row.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;

private:
    int height() const;
    int iconSide() const;

    QString m_symbol;
    bool m_iconOnly;
    Size m_size;
    std::optional<QColor> m_tint;
    bool m_hover = false;
};

} // namespace nolvea
