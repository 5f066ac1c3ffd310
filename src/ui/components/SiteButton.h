#pragma once

#include "ui/animation/EaseOutValue.h"
#include "ui/animation/SpringValue.h"
#include "ui/components/SiteKit.h"

#include <QAbstractButton>

namespace nolvea {

class FrameDriver;

// The site's button in its three kinds and sizes. It takes clicks and hovering over its whole
// rounded shape, even where the fill is clear, and nowhere outside it.
class SiteButton : public QAbstractButton {
    Q_OBJECT

public:
    SiteButton(const QString& text, SiteKit::Kind kind, SiteKit::Size size,
               QWidget* parent = nullptr);
    // The small button of the settings rows and cards.
    static SiteButton* small(const QString& text, SiteKit::Kind kind = SiteKit::Kind::secondary);

    enum class SymbolPlace { leading, trailing };

    // A symbol drawn beside the text (before it unless told otherwise), in the text's colour.
    void setSymbol(const QString& name, SymbolPlace place = SymbolPlace::leading);
    const QString& symbol() const { return m_symbol; }
    SymbolPlace symbolPlace() const { return m_symbolPlace; }

    SiteKit::Kind kind() const { return m_kind; }
    SiteKit::Size buttonSize() const { return m_size; }
    bool isHovered() const { return m_hover; }
    // The look on screen now (hover blended in, opacity for the enabled state).
    SiteKit::ButtonLook currentLook() const;
    double currentScale() const { return m_scale.value(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void setHover(bool hover);

    SiteKit::Kind m_kind;
    SiteKit::Size m_size;
    QString m_symbol;
    SymbolPlace m_symbolPlace = SymbolPlace::leading;
    bool m_hover = false;
    EaseOutValue m_hoverAmount{0, 0.12};
    SpringValue m_scale{1, Theme::snappy()};
    FrameDriver* m_driver;
};

} // namespace nolvea
