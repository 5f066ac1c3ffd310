#include "ui/components/Symbols.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

namespace nolvea {

namespace {

// Our own drawings, on a 24 × 24 grid, in one ink.
const QHash<QString, QByteArray>& ownSymbols() {
    static const QHash<QString, QByteArray> table = [] {
        const QByteArray stroke =
            R"(fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round")";
        auto lines = [&](const char* d) {
            return QByteArray(
                       R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><path )") +
                   stroke + " d=\"" + d + "\"/></svg>";
        };
        auto filled = [](const char* d) {
            return QByteArray(
                       R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24"><path fill="currentColor" d=")") +
                   d + "\"/></svg>";
        };
        QHash<QString, QByteArray> t;
        t["waveform"] = lines("M3 10v4M7 6v12M11 3v18M15 7v10M19 10v4");
        t["sparkles"] = filled("M10 2l1.8 5.2L17 9l-5.2 1.8L10 16l-1.8-5.2L3 9l5.2-1.8zM18 13l.9 "
                               "2.1L21 16l-2.1.9L18 19l-.9-2.1L15 16l2.1-.9z");
        t["checkmark"] = lines("M4 12.5l5 5L20 6.5");
        t["xmark"] = lines("M6 6l12 12M18 6L6 18");
        t["chevron.right"] = lines("M9 5l7 7-7 7");
        t["chevron.left"] = lines("M15 5l-7 7 7 7");
        t["chevron.down"] = lines("M5 9l7 7 7-7");
        t["arrow.up"] = lines("M12 20V4M5 11l7-7 7 7");
        t["arrow.left"] = lines("M20 12H4M11 5l-7 7 7 7");
        t["arrow.right"] = lines("M4 12h16M13 5l7 7-7 7");
        t["arrow.up.forward"] = lines("M7 17L17 7M8 7h9v9");
        t["minus"] = lines("M5 12h14");
        t["return"] = lines("M20 5v7a3 3 0 0 1-3 3H5M9 11l-4 4 4 4");
        t["stop.fill"] = filled("M6 6h12v12H6z");
        t["play.fill"] = filled("M7 4l13 8-13 8z");
        t["mic.fill"] = filled("M12 2a3.5 3.5 0 0 0-3.5 3.5v6a3.5 3.5 0 0 0 7 0v-6A3.5 3.5 0 0 0 "
                               "12 2zM5 11a1 1 0 0 1 2 0 5 5 0 0 0 10 0 1 1 0 0 1 2 0 7 7 0 0 1-6 "
                               "6.9V21h3a1 1 0 0 1 0 2H8a1 1 0 0 1 0-2h3v-3.1A7 7 0 0 1 5 11z");
        t["pencil"] = lines("M4 20l4-1L19 8l-3-3L5 16zM14 7l3 3");
        t["pencil.and.scribble"] = lines("M3 20c3-2 5 1 8-1M8 16l-1 3 3-1 10-10-2-2z");
        t["checkmark.circle.fill"] = filled("M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm-1.2 "
                                            "14.2L6.6 12l1.4-1.4 2.8 2.8 5.6-5.6 1.4 1.4z");
        t["exclamationmark.triangle.fill"] = filled("M12 2L1 21h22zm-1 7h2v6h-2zm0 8h2v2h-2z");
        t["exclamationmark.circle.fill"] =
            filled("M12 2a10 10 0 1 0 0 20 10 10 0 0 0 0-20zm-1 5h2v7h-2zm0 9h2v2h-2z");
        t["keyboard.fill"] = filled("M3 5h18a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H3a2 2 0 0 1-2-2V7a2 2 "
                                    "0 0 1 2-2zm2 3v2h2V8zm4 0v2h2V8zm4 0v2h2V8zm4 0v2h2V8zM5 "
                                    "12v2h2v-2zm4 0v2h2v-2zm4 0v2h2v-2zm4 0v2h2v-2zM7 16v1h10v-1z");
        t["text.cursor"] = lines("M9 4h6M12 4v16M9 20h6");
        // The tray window's own, so it never depends on the desktop's icon theme.
        t["wand.and.stars"] =
            lines("M4 20L15 9M13 7l4 4M18 3v3M16.5 4.5h3M20 9v2M19 10h2M9 3v2M8 4h2");
        t["speaker.wave.2.fill"] =
            filled("M3 9h4l5-4v14l-5-4H3zM15.5 8.5a5 5 0 0 1 0 7l-1.4-1.4a3 3 0 0 0 0-4.2zM18.4 "
                   "5.6a9 9 0 0 1 0 12.8L17 17a7 7 0 0 0 0-10z");
        t["accessibility"] =
            filled("M12 2a2 2 0 1 1 0 4 2 2 0 0 1 0-4zM4 7.5l.5-1.9L12 7.5l7.5-1.9"
                   ".5 1.9-5.5 1.6V13l2 8-1.9.6L12.3 15h-.6l-2.3 6.6-1.9-.6 2-8V9.1z");
        t["clock"] = lines("M12 3a9 9 0 1 0 0 18 9 9 0 0 0 0-18zM12 7v5l3 2");
        t["gearshape"] =
            lines("M12 9a3 3 0 1 0 0 6 3 3 0 0 0 0-6zM12 2v3M12 19v3M4.9 4.9l2.1 2.1M17 "
                  "17l2.1 2.1M2 12h3M19 12h3M4.9 19.1L7 17M17 7l2.1-2.1");
        t["power"] = lines("M12 3v9M7.1 6.3a7.5 7.5 0 1 0 9.8 0");
        t["doc.on.doc"] = lines("M9 8h9a1 1 0 0 1 1 1v11a1 1 0 0 1-1 1H9a1 1 0 0 1-1-1V9a1 1 0 0 1 "
                                "1-1zM5 16V4a1 1 0 0 1 1-1h9");
        t["exclamationmark.bubble"] =
            lines("M4 5h16a1 1 0 0 1 1 1v10a1 1 0 0 1-1 1h-9l-5 4v-4H4a1 1 "
                  "0 0 1-1-1V6a1 1 0 0 1 1-1zM12 8v4M12 14.5v.5");
        // The cards' own controls draw even where the desktop has no icon theme.
        t["paperplane.fill"] = filled("M2.5 11.2L21 3l-5.6 18.2-4.1-7.3zM11.9 12.9L21 3");
        t["lock.fill"] = filled("M7 10V7a5 5 0 0 1 10 0v3h1a1 1 0 0 1 1 1v9a1 1 0 0 1-1 1H6a1 "
                                "1 0 0 1-1-1v-9a1 1 0 0 1 1-1zm2 0h6V7a3 3 0 0 0-6 0z");
        return t;
    }();
    return table;
}

// The rest, as the freedesktop icon theme names them.
const QHash<QString, QString>& themeSymbols() {
    static const QHash<QString, QString> table{
        {"arrow.down.circle", "go-down"},
        {"arrow.triangle.2.circlepath", "view-refresh"},
        {"arrow.up.forward.app", "window-new"},
        {"arrowshape.turn.up.left.fill", "mail-reply-sender"},
        {"bubble.left.and.bubble.right.fill", "user-available"},
        {"calendar", "x-office-calendar"},
        {"calendar.badge.plus", "appointment-new"},
        {"character.book.closed.fill", "accessories-dictionary"},
        {"checklist", "view-list-symbolic"},
        {"checkmark.seal.fill", "emblem-ok-symbolic"},
        {"clock", "appointment-soon"},
        {"cloud.fill", "weather-overcast"},
        {"cpu.fill", "computer"},
        {"doc.on.clipboard", "edit-paste"},
        {"doc.text.fill", "text-x-generic"},
        {"envelope.fill", "mail-message-new"},
        {"exclamationmark.bubble", "dialog-warning"},
        {"expression", "accessories-calculator"},
        {"externaldrive.fill", "drive-harddisk"},
        {"eye", "view-reveal-symbolic"},
        {"function", "accessories-calculator"},
        {"gearshape", "preferences-system"},
        {"gearshape.fill", "preferences-system"},
        {"globe", "web-browser"},
        {"hare.fill", "media-seek-forward"},
        {"info.circle.fill", "dialog-information"},
        {"list.bullet", "view-list"},
        {"lock.open.fill", "changes-allow"},
        {"lock.shield.fill", "security-high"},
        {"magnifyingglass", "edit-find"},
        {"message.fill", "mail-send"},
        {"person.2.fill", "system-users"},
        {"person.crop.circle", "avatar-default"},
        {"person.crop.circle.badge.checkmark", "avatar-default"},
        {"plus.bubble", "list-add"},
        {"power", "system-shutdown"},
        {"puzzlepiece.extension.fill", "application-x-addon"},
        {"questionmark.bubble.fill", "help-browser"},
        {"speaker.wave.2.fill", "audio-volume-high"},
        {"square.and.arrow.down", "document-save"},
        {"square.stack.3d.up.fill", "applications-other"},
        {"tablecells.fill", "x-office-spreadsheet"},
        {"terminal", "utilities-terminal"},
        {"tortoise.fill", "media-seek-backward"},
        {"tray.full.fill", "mail-inbox"},
        {"wand.and.stars", "tools-wizard"},
        {"waveform.badge.mic", "audio-input-microphone"},
        {"xmark.circle.fill", "window-close"},
        {"app.badge", "application-x-executable"},
    };
    return table;
}

} // namespace

bool Symbols::isKnown(const QString& name) {
    return ownSymbols().contains(name) || themeSymbols().contains(name);
}

QByteArray Symbols::svg(const QString& name) {
    return ownSymbols().value(name);
}

QString Symbols::themeName(const QString& name) {
    return themeSymbols().value(name);
}

QPixmap Symbols::pixmap(const QString& name, int side, const QColor& color, qreal dpr) {
    if (side <= 0) return {};
    const QByteArray own = svg(name);
    if (!own.isEmpty()) {
        QByteArray inked = own;
        inked.replace("currentColor", color.name(QColor::HexRgb).toLatin1());
        QSvgRenderer renderer(inked);
        if (!renderer.isValid()) return {};
        QPixmap pm(QSize(side, side) * dpr);
        pm.setDevicePixelRatio(dpr);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setOpacity(color.alphaF());
        renderer.render(&p, QRectF(0, 0, side, side));
        return pm;
    }
    const QString theme = themeName(name);
    if (theme.isEmpty() || !QIcon::hasThemeIcon(theme)) return {};
    return QIcon::fromTheme(theme).pixmap(QSize(side, side), dpr);
}

QIcon Symbols::icon(const QString& name, const QColor& color) {
    if (!svg(name).isEmpty()) {
        QIcon i;
        for (int side : {16, 24, 32, 48, 64})
            i.addPixmap(pixmap(name, side, color));
        return i;
    }
    const QString theme = themeName(name);
    if (theme.isEmpty()) return {};
    return QIcon::fromTheme(theme);
}

} // namespace nolvea
