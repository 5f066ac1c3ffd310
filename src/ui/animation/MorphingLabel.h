#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/animation/TextMorph.h"

#include <QLabel>

#include <optional>

namespace nolvea {

class FrameDriver;

// A plain-text label whose changes morph: words kept from the old text glide to their new
// place, changed words fade across, on the snappy spring. `text()` is the new text at once, so
// readers and screen readers never see the old one.
class MorphingLabel : public QLabel {
public:
    explicit MorphingLabel(QWidget* parent = nullptr);

    // Shows `text`, morphing from the current one while the label is on screen.
    void morphTo(const QString& text);
    bool isMorphing() const { return m_morph.has_value(); }
    // The size the label will come to rest at, when it is still resizing: words on their way
    // are laid out at that size, centred on the label and cut at its edges.
    void setRestingSize(QSize size);
    // The morph's progress (0 old text, 1 new), for tests and previews.
    double progress() const { return m_progress.value(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuild();
    QRect layoutBox() const;

    FrameDriver* m_driver;
    SpringValue m_progress{1};
    QString m_from;
    QSize m_restingSize;
    std::optional<TextMorph> m_morph;
};

} // namespace nolvea
