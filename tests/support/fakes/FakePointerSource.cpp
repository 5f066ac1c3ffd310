#include "support/fakes/FakePointerSource.h"

namespace nolvea::test {

FakePointerSource::FakePointerSource(QList<QRect> screens)
    : m_screens(std::move(screens)) {}

FakePointerSource::~FakePointerSource() = default;

void FakePointerSource::moveTo(QPoint at) {
    if (at == m_position) return;
    m_position = at;
    if (isWatched()) publish({Event::Kind::moved, at});
}

void FakePointerSource::press() {
    if (isWatched()) publish({Event::Kind::pressed, m_position});
}

void FakePointerSource::press(QPoint at) {
    moveTo(at);
    press();
}

} // namespace nolvea::test
