#pragma once

#include "platform/PointerSource.h"

namespace nolvea::test {

// A pointer moved by hand. Moves made while nobody watches change the position alone, as the
// real source reads nothing then.
class FakePointerSource final : public PointerSource {
public:
    explicit FakePointerSource(QList<QRect> screens = {QRect(0, 0, 1920, 1080)});
    ~FakePointerSource() override;

    QPoint position() const override { return m_position; }
    QList<QRect> screens() const override { return m_screens; }
    bool isButtonHeld() const override { return m_held; }

    void moveTo(QPoint at);
    void press();
    void press(QPoint at);
    void setScreens(QList<QRect> screens) { m_screens = std::move(screens); }
    void setButtonHeld(bool held) { m_held = held; }
    // How often listening began and ended.
    int starts() const { return m_starts; }
    int stops() const { return m_stops; }

protected:
    void startWatching() override { ++m_starts; }
    void stopWatching() override { ++m_stops; }

private:
    QList<QRect> m_screens;
    QPoint m_position;
    bool m_held = false;
    int m_starts = 0;
    int m_stops = 0;
};

} // namespace nolvea::test
