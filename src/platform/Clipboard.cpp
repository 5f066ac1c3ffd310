#include "platform/Clipboard.h"

namespace nolvea {

void Clipboard::writeText(const QString& text) {
    ClipboardData data;
    data.set(QStringLiteral("text/plain"), text.toUtf8());
    write(data);
}

} // namespace nolvea
