#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <functional>
#include <memory>

namespace nolvea {

// The pointer anywhere on the desktop, also over other applications' windows: where it is,
// which screens it moves across, and each move or button press while someone watches.
// Positions and screens are in the coordinates Qt gives windows (`QScreen::geometry`).
// Nothing is read from the window system while no watch lives.
class PointerSource {
public:
    struct Event {
        enum class Kind { moved, pressed };
        Kind kind = Kind::moved;
        QPoint position;
    };
    using Listener = std::function<void(const Event&)>;

    // Listening lasts as long as this lives; it may outlive the source.
    class Watch {
    public:
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

    private:
        friend class PointerSource;
        struct Hub;
        Watch(std::weak_ptr<Hub> hub, quint64 id)
            : m_hub(std::move(hub))
            , m_id(id) {}
        std::weak_ptr<Hub> m_hub;
        quint64 m_id;
    };

    PointerSource();
    virtual ~PointerSource();
    PointerSource(const PointerSource&) = delete;
    PointerSource& operator=(const PointerSource&) = delete;

    virtual QPoint position() const = 0;
    virtual QList<QRect> screens() const = 0;
    // Whether a mouse button is held down now, as in a drag.
    virtual bool isButtonHeld() const { return false; }

    // `listener` runs on the main thread for every move and press until the watch is dropped.
    // The first watch starts listening to the window system, dropping the last stops it.
    [[nodiscard]] std::unique_ptr<Watch> watch(Listener listener);
    bool isWatched() const;

protected:
    virtual void startWatching() = 0;
    virtual void stopWatching() = 0;
    // Hands `event` to every live listener; one may drop its own or another's watch meanwhile.
    void publish(const Event& event);

private:
    std::shared_ptr<Watch::Hub> m_hub;
};

} // namespace nolvea
