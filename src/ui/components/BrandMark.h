#pragma once

#include "ui/animation/SpringValue.h"
#include "ui/components/BrandMarkModel.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// The living logo: a breath line that swells with the voice and morphs into a swirling ball.
// Level and busy changes spring with `Theme::snappy`, the line-to-ball change with
// `Theme::morph`; the clock runs only while `animated` and motion is not reduced.
class BrandMark : public QWidget {
    Q_OBJECT

public:
    explicit BrandMark(const BrandMarkInputs& inputs = {}, QWidget* parent = nullptr);

    const BrandMarkInputs& inputs() const { return m_inputs; }
    void setInputs(const BrandMarkInputs& inputs);
    void setStyle(const BrandMarkStyle& style);
    void setLevel(double level);
    void setLevels(std::optional<QList<float>> levels);
    void setBall(bool ball);
    void setAnimated(bool animated);
    void setBusy(bool busy);
    void setGlow(bool glow);
    void setEchoes(bool echoes);
    void setMorphOverride(std::optional<double> morph);

    // The frame now on screen.
    BrandMarkFrame currentFrame() const;
    bool isClockRunning() const;

    // One still frame at time `t`, without springs (renderers, the menu-bar image).
    static void paintStill(QPainter& p, const QRectF& bounds, const BrandMarkInputs& inputs,
                           double t = 0);

    QSize sizeHint() const override { return {100, 80}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override { return int(w / BrandMarkModel::kAspect); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void retargetAll();
    double clockTime() const;

    BrandMarkInputs m_inputs;
    SpringValue m_level;
    SpringValue m_morph;
    SpringValue m_busy;
    FrameDriver* m_driver;
};

} // namespace nolvea
