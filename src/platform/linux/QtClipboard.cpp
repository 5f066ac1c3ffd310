#include "platform/linux/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QSet>

namespace nolvea {

namespace {

// Targets of the selection protocol itself, which carry no contents.
bool isProtocolTarget(const QString& type) {
    static const QSet<QString> targets{
        QStringLiteral("TARGETS"),         QStringLiteral("MULTIPLE"),
        QStringLiteral("TIMESTAMP"),       QStringLiteral("SAVE_TARGETS"),
        QStringLiteral("DELETE"),          QStringLiteral("INSERT_SELECTION"),
        QStringLiteral("INSERT_PROPERTY"), QStringLiteral("CLIPBOARD_MANAGER"),
    };
    return targets.contains(type);
}

} // namespace

QtClipboard::QtClipboard(QObject* parent)
    : QObject(parent) {
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            [this] { ++m_changeCount; });
}

ClipboardData QtClipboard::read() {
    ClipboardData out;
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime) return out;
    for (const QString& type : mime->formats()) {
        if (isProtocolTarget(type) || out.contains(type)) continue;
        out.set(type, mime->data(type));
    }
    return out;
}

void QtClipboard::write(const ClipboardData& data) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (data.isEmpty()) {
        clipboard->clear(QClipboard::Clipboard);
        return;
    }
    auto* mime = new QMimeData;
    for (const ClipboardData::Format& f : data.formats())
        mime->setData(f.type, f.data);
    clipboard->setMimeData(mime, QClipboard::Clipboard); // the clipboard owns it
}

} // namespace nolvea
