#pragma once

#include "platform/ClipboardData.h"

#include <QtGlobal>

namespace nolvea {

// The desktop's clipboard. Used on the main thread only.
class Clipboard {
public:
    virtual ~Clipboard() = default;

    // Grows by one or more every time the contents change, whoever wrote them (this process
    // included); never goes back.
    virtual quint64 changeCount() const = 0;
    // A copy of every format that yields data now; empty when the clipboard is.
    virtual ClipboardData read() = 0;
    // Replaces the contents with `data`; empty data leaves the clipboard empty.
    virtual void write(const ClipboardData& data) = 0;

    // Replaces the contents with plain text only.
    void writeText(const QString& text);
};

} // namespace nolvea
