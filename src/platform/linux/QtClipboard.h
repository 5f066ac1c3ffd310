#pragma once

#include "platform/Clipboard.h"

#include <QObject>

namespace nolvea {

// The desktop clipboard through QClipboard (the CLIPBOARD selection on X11). Needs a
// QGuiApplication; used on the main thread.
class QtClipboard final : public QObject, public Clipboard {
    Q_OBJECT

public:
    explicit QtClipboard(QObject* parent = nullptr);

    quint64 changeCount() const override { return m_changeCount; }
    ClipboardData read() override;
    void write(const ClipboardData& data) override;

private:
    quint64 m_changeCount = 0;
};

} // namespace nolvea
