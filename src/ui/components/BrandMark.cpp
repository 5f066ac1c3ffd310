#include "ui/components/BrandMark.h"

#include "ui/animation/FrameDriver.h"
#include "ui/components/BrandMarkPainter.h"

#include <QPainter>

namespace nolvea {

BrandMark::BrandMark(const BrandMarkInputs& inputs, QWidget* parent)
    : QWidget(parent)
    , m_inputs(inputs)
    , m_level(inputs.level, Theme::snappy())
    , m_morph(BrandMarkModel::targetMorph(inputs), Theme::morph())
    , m_busy(inputs.busy ? 1 : 0, Theme::snappy()) {
    setAttribute(Qt::WA_TranslucentBackground);
    m_driver = new FrameDriver(this, [this](double dt) {
        bool moving = m_level.advance(dt);
        moving = m_morph.advance(dt) || moving;
        moving = m_busy.advance(dt) || moving;
        return moving;
    });
    m_driver->setContinuous(inputs.animated);
}

void BrandMark::setInputs(const BrandMarkInputs& inputs) {
    m_inputs = inputs;
    retargetAll();
    m_driver->setContinuous(inputs.animated);
    update();
}

void BrandMark::retargetAll() {
    m_driver->animate(m_level, m_inputs.level, Theme::snappy());
    m_driver->animate(m_morph, BrandMarkModel::targetMorph(m_inputs), Theme::morph());
    m_driver->animate(m_busy, m_inputs.busy ? 1 : 0, Theme::snappy());
}

void BrandMark::setStyle(const BrandMarkStyle& style) {
    m_inputs.style = style;
    update();
}

void BrandMark::setLevel(double level) {
    if (m_inputs.level == level) return;
    m_inputs.level = level;
    m_driver->animate(m_level, level, Theme::snappy());
}

void BrandMark::setLevels(std::optional<QList<float>> levels) {
    m_inputs.levels = std::move(levels);
    update();
}

void BrandMark::setBall(bool ball) {
    if (m_inputs.ball == ball) return;
    m_inputs.ball = ball;
    m_driver->animate(m_morph, BrandMarkModel::targetMorph(m_inputs), Theme::morph());
}

void BrandMark::setAnimated(bool animated) {
    m_inputs.animated = animated;
    m_driver->setContinuous(animated);
    update();
}

void BrandMark::setBusy(bool busy) {
    if (m_inputs.busy == busy) return;
    m_inputs.busy = busy;
    m_driver->animate(m_busy, busy ? 1 : 0, Theme::snappy());
}

void BrandMark::setGlow(bool glow) {
    m_inputs.glow = glow;
    update();
}

void BrandMark::setEchoes(bool echoes) {
    m_inputs.echoes = echoes;
    update();
}

void BrandMark::setMorphOverride(std::optional<double> morph) {
    m_inputs.morphOverride = morph;
    m_driver->animate(m_morph, BrandMarkModel::targetMorph(m_inputs), Theme::morph());
}

double BrandMark::clockTime() const {
    return m_inputs.animated ? m_driver->time() : 0;
}

BrandMarkFrame BrandMark::currentFrame() const {
    return BrandMarkModel::frame(m_inputs, clockTime(), m_level.value(), m_morph.value());
}

bool BrandMark::isClockRunning() const {
    return m_driver->isActive();
}

void BrandMark::paintEvent(QPaintEvent*) {
    QPainter p(this);
    BrandMarkPainter::paint(p, BrandMarkModel::fit(rect()), m_inputs, currentFrame(),
                            m_busy.value());
}

void BrandMark::paintStill(QPainter& p, const QRectF& bounds, const BrandMarkInputs& inputs,
                           double t) {
    BrandMarkPainter::paint(p, BrandMarkModel::fit(bounds), inputs,
                            BrandMarkModel::frame(inputs, t), inputs.busy ? 1 : 0);
}

} // namespace nolvea
