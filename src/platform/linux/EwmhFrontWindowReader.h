#pragma once

#include "platform/FrontWindowReader.h"

#include <QByteArray>
#include <QHash>
#include <QImage>

#include <memory>

struct _XDisplay;

namespace nolvea {

class X11Display;

// The active window as the window manager announces it (`_NET_ACTIVE_WINDOW`); without a
// window manager that does, the top-level window holding the keyboard focus. Its class
// (`WM_CLASS`), title (`_NET_WM_NAME`, else `WM_NAME`) and process (`_NET_WM_PID`).
// An application is brought to the front by asking the window manager (`_NET_ACTIVE_WINDOW`);
// without one, by raising its window and giving it the input focus ourselves. An application's
// icon is its window's `_NET_WM_ICON`, else that of the desktop entry of its window class.
class EwmhFrontWindowReader final : public FrontWindowReader {
public:
    explicit EwmhFrontWindowReader(QByteArray displayName = {});
    ~EwmhFrontWindowReader() override;

    std::optional<FrontWindow> frontWindow() override;
    bool bringToFront(qint32 processID) override;
    QVariant applicationIcon(qint32 processID) override;

private:
    // The connection, opened again when it broke; null when the display cannot be reached.
    _XDisplay* display();

    QByteArray m_displayName;
    std::unique_ptr<X11Display> m_display;
    QHash<QString, QImage> m_entryIcons; // by window class; null where none was found
};

} // namespace nolvea
