#include "ui/components/Symbols.h"

#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>

namespace nolvea {

namespace {

QByteArray document(const QByteArray& body) {
    return R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 24 24">)" + body + "</svg>";
}

const QByteArray kStroke =
    R"(fill="none" stroke="currentColor" stroke-width="2" stroke-linecap="round" stroke-linejoin="round")";

// Strokes only.
QByteArray lines(const QByteArray& d) {
    return document("<path " + kStroke + " d=\"" + d + "\"/>");
}

// A filled shape whose inner subpaths are holes whatever their direction.
QByteArray filled(const QByteArray& d) {
    return document(R"(<path fill="currentColor" fill-rule="evenodd" d=")" + d + "\"/>");
}

// Strokes over filled elements (any SVG shapes).
QByteArray mixed(const QByteArray& strokes, const QByteArray& fills) {
    QByteArray body;
    if (!fills.isEmpty()) body += R"(<g fill="currentColor">)" + fills + "</g>";
    if (!strokes.isEmpty()) body += "<path " + kStroke + " d=\"" + strokes + "\"/>";
    return document(body);
}

QByteArray number(double v) {
    return QByteArray::number(std::round(v * 100) / 100, 'g', 6);
}

// A closed polygon around the centre (12, 12) through the points that `radius` gives for
// `count` equal steps of the turn, each step split at `fractions`.
QByteArray ring(int count, const std::vector<std::pair<double, double>>& shape) {
    QByteArray d;
    const double step = 2 * std::numbers::pi / count;
    for (int i = 0; i < count; ++i)
        for (auto [fraction, radius] : shape) {
            const double a = (i + fraction) * step - std::numbers::pi / 2;
            d += (d.isEmpty() ? "M" : "L") + number(12 + radius * std::cos(a)) + " " +
                 number(12 + radius * std::sin(a));
        }
    return d + "z";
}

// A gear of eight teeth between the two radii.
QByteArray gear(double outer, double root) {
    return ring(8, {{-0.3, root}, {-0.16, outer}, {0.16, outer}, {0.3, root}});
}

QByteArray circle(double cx, double cy, double r) {
    // Two half arcs: a closed subpath in every renderer.
    return "M" + number(cx - r) + " " + number(cy) + "a" + number(r) + " " + number(r) + " 0 1 0 " +
           number(2 * r) + " 0a" + number(r) + " " + number(r) + " 0 1 0 " + number(-2 * r) + " 0z";
}

// Our own drawings. Outlined symbols are strokes 2 units wide; ".fill" ones are solid shapes
// with their details cut out.
const QHash<QString, QByteArray>& drawings() {
    static const QHash<QString, QByteArray> table = [] {
        QHash<QString, QByteArray> t;
        // Marks and arrows.
        t["checkmark"] = lines("M4 12.5l5 5L20 6.5");
        t["xmark"] = lines("M6 6l12 12M18 6L6 18");
        t["minus"] = lines("M5 12h14");
        t["circle"] = lines(circle(12, 12, 9));
        t["chevron.right"] = lines("M9 5l7 7-7 7");
        t["chevron.left"] = lines("M15 5l-7 7 7 7");
        t["chevron.down"] = lines("M5 9l7 7 7-7");
        t["arrow.up"] = lines("M12 20V4M5 11l7-7 7 7");
        t["arrow.left"] = lines("M20 12H4M11 5l-7 7 7 7");
        t["arrow.right"] = lines("M4 12h16M13 5l7 7-7 7");
        t["arrow.up.forward"] = lines("M5 19L19 5M8 5h11v11");
        t["arrow.down.circle"] = lines(circle(12, 12, 9) + "M12 7.5v9M8 12.5l4 4 4-4");
        t["arrow.triangle.2.circlepath"] =
            lines("M20 12a8 8 0 0 0-13.66-5.66M6.3 2.8v4h4M4 12a8 8 0 0 0 13.66 5.66M17.7 "
                  "21.2v-4h-4");
        t["arrow.up.forward.app"] =
            lines("M12 4H6a2 2 0 0 0-2 2v12a2 2 0 0 0 2 2h12a2 2 0 0 0 2-2v-6M11 13l9-9M14 4h6v6");
        t["arrowshape.turn.up.left.fill"] =
            filled("M10 4L2 11l8 7v-4.2c5 0 8.6 1.6 11 5.2-1-5.4-4.5-9.6-11-10.4z");
        t["return"] = lines("M20 5v7a3 3 0 0 1-3 3H5M9 11l-4 4 4 4");
        t["checkmark.circle.fill"] =
            filled(circle(12, 12, 10) + "M10.8 16.2L6.6 12l1.4-1.4 2.8 2.8 5.6-5.6 1.4 1.4z");
        t["xmark.circle.fill"] =
            filled(circle(12, 12, 10) + "M8.4 7L12 10.6 15.6 7 17 8.4 13.4 12 17 15.6 15.6 17 "
                                        "12 13.4 8.4 17 7 15.6 10.6 12 7 8.4z");
        t["checkmark.seal.fill"] =
            filled(ring(12, {{0, 10.5}, {0.5, 8.6}}) + "M7.6 12.2l1.4-1.4 2.1 2.1 4.3-4.3 1.4 "
                                                       "1.4-5.7 5.7z");
        t["exclamationmark.triangle.fill"] = filled("M12 2L1 21h22zm-1 7h2v6h-2zm0 8h2v2h-2z");
        t["exclamationmark.circle.fill"] =
            filled(circle(12, 12, 10) + "M11 7h2v7h-2zM11 16h2v2h-2z");
        t["info.circle.fill"] = filled(circle(12, 12, 10) + "M11 10.5h2V18h-2zM11 6.5h2v2h-2z");
        // Voice, sound and playback.
        t["waveform"] = lines("M3 10v4M7 6v12M11 3v18M15 7v10M19 10v4");
        t["waveform.badge.mic"] =
            lines("M3 10v4M6.5 7v10M10 4v16M13.5 8v8M18.5 8.5a1.8 1.8 0 0 0-1.8 1.8v3a1.8 1.8 0 0 "
                  "0 3.6 0v-3a1.8 1.8 0 0 0-1.8-1.8zM15.5 13.8a3 3 0 0 0 6 0M18.5 16.8V20");
        t["mic.fill"] =
            document(R"(<path fill="currentColor" d="M12 2a3.5 3.5 0 0 0-3.5 3.5v6a3.5 3.5 0 0 0 )"
                     R"(7 0v-6A3.5 3.5 0 0 0 12 2zM5 11a1 1 0 0 1 2 0 5 5 0 0 0 10 0 1 1 0 0 1 2 )"
                     R"(0 7 7 0 0 1-6 6.9V21h3a1 1 0 0 1 0 2H8a1 1 0 0 1 0-2h3v-3.1A7 7 0 0 1 5 )"
                     R"(11z"/>)");
        t["speaker.wave.2.fill"] = mixed("M15.5 9a4.2 4.2 0 0 1 0 6M18.3 6.2a8.2 8.2 0 0 1 0 11.6",
                                         R"(<path d="M3 9h4l5-4v14l-5-4H3z"/>)");
        t["stop.fill"] = filled("M7 5h10a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H7a2 2 0 0 1-2-2V7a2 2 0 0 "
                                "1 2-2z");
        t["play.fill"] = filled("M7 4l13 8-13 8z");
        t["hare.fill"] = mixed(
            {},
            R"(<ellipse cx="10" cy="15.5" rx="7" ry="4.5"/><circle cx="17.2" cy="11.5" r="3"/>)"
            R"svg(<ellipse cx="15.6" cy="6" rx="1.3" ry="4" transform="rotate(-14 15.6 6)"/>)svg"
            R"svg(<ellipse cx="18.8" cy="6.2" rx="1.3" ry="4" transform="rotate(14 18.8 6.2)"/>)svg"
            R"(<circle cx="3" cy="13.5" r="1.6"/>)");
        t["tortoise.fill"] = mixed(
            {}, R"(<path d="M2.5 16a8 7.5 0 0 1 16 0z"/><circle cx="20.5" cy="13.5" r="2.2"/>)"
                R"(<rect x="4.5" y="16.5" width="3" height="3.5" rx="1"/>)"
                R"(<rect x="13.5" y="16.5" width="3" height="3.5" rx="1"/>)");
        // Writing, text and documents.
        t["pencil"] = lines("M4 20l4-1L19 8l-3-3L5 16zM14 7l3 3");
        t["pencil.and.scribble"] = lines("M3 20c3-2 5 1 8-1M8 16l-1 3 3-1 10-10-2-2z");
        t["text.cursor"] = lines("M9 4h6M12 4v16M9 20h6");
        t["doc"] = lines("M6 3h8l5 5v12a1 1 0 0 1-1 1H6a1 1 0 0 1-1-1V4a1 1 0 0 1 1-1zM14 3v5h5");
        t["doc.on.doc"] = lines("M9 8h9a1 1 0 0 1 1 1v11a1 1 0 0 1-1 1H9a1 1 0 0 1-1-1V9a1 1 0 0 1 "
                                "1-1zM5 16V4a1 1 0 0 1 1-1h9");
        t["doc.on.clipboard"] = lines("M9 4H7a2 2 0 0 0-2 2v13a2 2 0 0 0 2 2h10a2 2 0 0 0 2-2V6a2 "
                                      "2 0 0 0-2-2h-2M9 3h6v3H9zM9 11h6M9 15h6");
        t["doc.text.fill"] = filled("M6 2h8l6 6v13a1 1 0 0 1-1 1H6a1 1 0 0 1-1-1V3a1 1 0 0 1 "
                                    "1-1zM14 3.5V8h4.5zM8 12h8v1.6H8zM8 16h6v1.6H8z");
        t["character.book.closed.fill"] =
            filled("M6 2h13v16H7a1.5 1.5 0 0 0 0 3h12v1H7a3 3 0 0 1-3-3V4a2 2 0 0 1 2-2zM11.3 "
                   "4.5l-3 8.5h1.9l.6-1.9h3.4l.6 1.9h1.9l-3-8.5zm.7 2.6l1.1 2.6h-2.2z");
        t["checklist"] = lines("M4 6l1.5 1.5L8 5M4 12l1.5 1.5L8 11M4 18l1.5 1.5L8 17M11 6.5h9M11 "
                               "12.5h9M11 18.5h9");
        t["list.bullet"] = mixed("M9 6h11M9 12h11M9 18h11",
                                 R"(<circle cx="4.5" cy="6" r="1.5"/><circle cx="4.5" cy="12" )"
                                 R"(r="1.5"/><circle cx="4.5" cy="18" r="1.5"/>)");
        t["tablecells.fill"] =
            filled("M4 4h16a2 2 0 0 1 2 2v12a2 2 0 0 1-2 2H4a2 2 0 0 1-2-2V6a2 "
                   "2 0 0 1 2-2zM4 10h7v3.5H4zM13 10h7v3.5h-7zM4 15.5h7V18H4zM13 "
                   "15.5h7V18h-7z");
        t["function"] = lines("M14 4.5c-1.5-.8-3.5-.5-4 1.5L7.5 19c-.5 2-2.5 2.3-4 1.5M6.5 "
                              "10h6M15 11l5 7M20 11l-5 7");
        // Mail, messages and people.
        t["envelope.fill"] = filled("M4 5h16a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H4a2 2 0 0 1-2-2V7a2 2 "
                                    "0 0 1 2-2zM4.2 7.4L12 13l7.8-5.6-.9-1.3L12 11 5.1 6.1z");
        t["paperplane.fill"] = filled("M2.5 11.2L21 3l-5.6 18.2-4.1-7.3z");
        t["tray.full.fill"] =
            filled("M2 13l3-8.4A1 1 0 0 1 6 4h12a1 1 0 0 1 .9.6L22 13v6a1 1 0 0 "
                   "1-1 1H3a1 1 0 0 1-1-1zM4.6 13H9a3 3 0 0 0 6 0h4.4l-2.4-7H7zM8 "
                   "7.5h8v1.4H8zM7.5 10h9v1.4h-9z");
        t["message.fill"] = filled("M12 3c5 0 9 3.4 9 7.7s-4 7.7-9 7.7c-1 0-2-.1-2.9-.4L4 20l1.3-"
                                   "3.9C3.9 14.7 3 12.8 3 10.7 3 6.4 7 3 12 3z");
        t["bubble.left.and.bubble.right.fill"] =
            mixed({}, R"(<path d="M3 3h11a2 2 0 0 1 2 2v6a2 2 0 0 1-2 2H8l-4 3v-3H3a2 2 0 0 )"
                      R"(1-2-2V5a2 2 0 0 1 2-2z"/><path d="M18 8h3a2 2 0 0 1 2 2v6a2 2 0 0 1-2 )"
                      R"(2h-1v3l-4-3h-5a2 2 0 0 1-2-2v-1h5a4 4 0 0 0 4-4z"/>)");
        t["plus.bubble"] = lines("M4 4h16a1 1 0 0 1 1 1v11a1 1 0 0 1-1 1h-8l-5 4v-4H4a1 1 0 0 "
                                 "1-1-1V5a1 1 0 0 1 1-1zM12 7.5v6M9 10.5h6");
        t["questionmark.bubble.fill"] = filled(
            "M4 3h16a2 2 0 0 1 2 2v11a2 2 0 0 1-2 2h-8l-5 4v-4H4a2 2 0 0 1-2-2V5a2 2 0 0 1 "
            "2-2zM9 8.6C9 6.8 10.4 5.6 12.1 5.6c1.8 0 3 1.2 3 2.7 0 1.3-.8 2-1.7 2.6-.5.3-.6.6-"
            ".6 1.1v.4h-1.8v-.6c0-1.1.4-1.7 1.2-2.2.7-.5 1.1-.8 1.1-1.3 0-.6-.5-1-1.2-1-.8 0-"
            "1.3.5-1.3 1.3zM11 13.6h2v1.9h-2z");
        t["exclamationmark.bubble"] =
            lines("M4 5h16a1 1 0 0 1 1 1v10a1 1 0 0 1-1 1h-9l-5 4v-4H4a1 1 "
                  "0 0 1-1-1V6a1 1 0 0 1 1-1zM12 8v4M12 14.5v.5");
        t["person.crop.circle"] = lines(circle(12, 12, 9) + circle(12, 10.5, 3) +
                                        "M6.2 18.5c1.3-2 3.4-3 5.8-3s4.5 1 5.8 3");
        t["person.crop.circle.badge.checkmark"] =
            lines("M20.4 10.5A8.5 8.5 0 1 0 11 20.5" + circle(11.5, 9.8, 2.8) +
                  "M5.8 17c1.3-1.7 3.3-2.6 5.7-2.6M14.5 18.2l2.2 2.2 4.3-4.6");
        t["person.2.fill"] =
            mixed({}, R"(<circle cx="9" cy="8" r="3.5"/><path d="M2 20c0-4 3.1-6.5 7-6.5s7 )"
                      R"(2.5 7 6.5z"/><circle cx="17" cy="9" r="2.8"/><path d="M17.5 13.5c2.8.3 )"
                      R"(4.5 2.4 4.5 5.5h-4.3c0-2.2-.7-4-2-5.2.5-.2 1.2-.3 1.8-.3z"/>)");
        // Time and calendars.
        t["clock"] = lines(circle(12, 12, 9) + "M12 7v5l3 2");
        t["calendar"] = lines("M5 5h14a2 2 0 0 1 2 2v12a2 2 0 0 1-2 2H5a2 2 0 0 1-2-2V7a2 2 0 0 1 "
                              "2-2zM3 10h18M8 3v4M16 3v4");
        t["calendar.badge.plus"] = lines("M19 11V7a2 2 0 0 0-2-2H5a2 2 0 0 0-2 2v12a2 2 0 0 0 2 "
                                         "2h7M3 10h16M7 3v4M15 3v4M18 15v6M15 18h6");
        // The machine, its settings and its places.
        t["keyboard.fill"] = filled("M3 5h18a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H3a2 2 0 0 1-2-2V7a2 2 "
                                    "0 0 1 2-2zm2 3v2h2V8zm4 0v2h2V8zm4 0v2h2V8zm4 0v2h2V8zM5 "
                                    "12v2h2v-2zm4 0v2h2v-2zm4 0v2h2v-2zm4 0v2h2v-2zM7 16v1h10v-1z");
        t["accessibility"] =
            document(R"(<path fill="currentColor" d="M12 2a2 2 0 1 1 0 4 2 2 0 0 1 0-4zM4 )"
                     R"(7.5l.5-1.9L12 7.5l7.5-1.9.5 1.9-5.5 1.6V13l2 8-1.9.6L12.3 15h-.6l-2.3 )"
                     R"(6.6-1.9-.6 2-8V9.1z"/>)");
        t["gearshape"] = lines(gear(9.5, 7.3) + circle(12, 12, 3));
        t["gearshape.fill"] = filled(gear(10.5, 8) + circle(12, 12, 3.2));
        t["power"] = lines("M12 3v9M7.1 6.3a7.5 7.5 0 1 0 9.8 0");
        t["cpu"] = lines("M7 6h10a1 1 0 0 1 1 1v10a1 1 0 0 1-1 1H7a1 1 0 0 1-1-1V7a1 1 0 0 1 "
                         "1-1zM10 10h4v4h-4zM9 3v3M15 3v3M9 18v3M15 18v3M3 9h3M3 15h3M18 9h3M18 "
                         "15h3");
        t["cpu.fill"] = filled("M7 5h10a2 2 0 0 1 2 2v10a2 2 0 0 1-2 2H7a2 2 0 0 1-2-2V7a2 2 0 0 "
                               "1 2-2zM10 10v4h4v-4zM8 1.5h2V5H8zM14 1.5h2V5h-2zM8 19h2v3.5H8zM14 "
                               "19h2v3.5h-2zM1.5 8H5v2H1.5zM1.5 14H5v2H1.5zM19 8h3.5v2H19zM19 "
                               "14h3.5v2H19z");
        t["desktopcomputer"] = lines("M4 4h16a1 1 0 0 1 1 1v10a1 1 0 0 1-1 1H4a1 1 0 0 1-1-1V5a1 "
                                     "1 0 0 1 1-1zM9 20h6M12 16v4");
        t["macwindow"] = mixed("M4 4h16a1 1 0 0 1 1 1v14a1 1 0 0 1-1 1H4a1 1 0 0 1-1-1V5a1 1 0 "
                               "0 1 1-1zM3 9h18",
                               R"(<circle cx="6.3" cy="6.5" r="1"/><circle cx="9.3" cy="6.5" )"
                               R"(r="1"/>)");
        t["terminal"] = lines("M4 4h16a1 1 0 0 1 1 1v14a1 1 0 0 1-1 1H4a1 1 0 0 1-1-1V5a1 1 0 0 1 "
                              "1-1zM7 9l3 3-3 3M12 15h5");
        t["app.badge"] = mixed("M13 4H7a3 3 0 0 0-3 3v10a3 3 0 0 0 3 3h10a3 3 0 0 0 3-3v-6",
                               R"(<circle cx="19" cy="5" r="3"/>)");
        t["externaldrive"] = mixed("M5 13h14M5 13l2.2-7A1.5 1.5 0 0 1 8.6 5h6.8a1.5 1.5 0 0 1 "
                                   "1.4 1L19 13v5a1 1 0 0 1-1 1H6a1 1 0 0 1-1-1z",
                                   R"(<circle cx="16" cy="16" r="1.1"/>)");
        t["externaldrive.fill"] = filled(
            "M8.6 5h6.8a1.5 1.5 0 0 1 1.4 1L19 12H5l2.2-6A1.5 1.5 0 0 1 8.6 5zM4 13.5h16V18a2 "
            "2 0 0 1-2 2H6a2 2 0 0 1-2-2zM15 15.8v1.6h2v-1.6z");
        t["trash"] = lines("M4 6h16M9 6V4h6v2M6 6l1 14a1 1 0 0 0 1 1h8a1 1 0 0 0 1-1l1-14M10 "
                           "10v7M14 10v7");
        t["square.and.arrow.down"] =
            lines("M8 10H6a1 1 0 0 0-1 1v9a1 1 0 0 0 1 1h12a1 1 0 0 0 "
                  "1-1v-9a1 1 0 0 0-1-1h-2M12 3v11M8.5 10.5L12 14l3.5-3.5");
        t["square.stack.3d.up.fill"] =
            filled("M12 2.5l9 4.5-9 4.5L3 7zM4.6 10.7l7.4 3.7 7.4-3.7 1.6.8-9 4.5-9-4.5zM4.6 "
                   "14.7l7.4 3.7 7.4-3.7 1.6.8-9 4.5-9-4.5z");
        t["puzzlepiece.extension.fill"] = filled("M4 7h4a2.5 2.5 0 1 1 5 0h4v4a2.5 2.5 0 1 1 0 "
                                                 "5v4H4v-4.2a2.3 2.3 0 1 0 0-4.6z");
        t["lock.fill"] = filled("M7 10V7a5 5 0 0 1 10 0v3h1a1 1 0 0 1 1 1v9a1 1 0 0 1-1 1H6a1 "
                                "1 0 0 1-1-1v-9a1 1 0 0 1 1-1zm2 0h6V7a3 3 0 0 0-6 0z");
        t["lock.open.fill"] = filled("M7 10V7a5 5 0 0 1 9.6-2l-1.8.9A3 3 0 0 0 9 7v3h9a1 1 0 0 1 "
                                     "1 1v9a1 1 0 0 1-1 1H6a1 1 0 0 1-1-1v-9a1 1 0 0 1 1-1z");
        t["lock.shield.fill"] =
            filled("M12 2l8 3v6c0 5-3.4 9.2-8 11-4.6-1.8-8-6-8-11V5zM9 11.5h6v5H9zM10 "
                   "11.5V10a2 2 0 0 1 4 0v1.5h-1.3V10a.7.7 0 0 0-1.4 0v1.5z");
        // The world outside.
        t["globe"] = lines(circle(12, 12, 9) + "M3 12h18M12 3c-2.5 2.5-3.8 5.5-3.8 9s1.3 6.5 3.8 "
                                               "9M12 3c2.5 2.5 3.8 5.5 3.8 9s-1.3 6.5-3.8 9");
        t["safari"] = mixed(circle(12, 12, 9), R"(<path d="M16 8l-2.4 5.6L8 16l2.4-5.6z"/>)");
        t["cloud.fill"] =
            filled("M7 19a5 5 0 0 1-.6-10A6.5 6.5 0 0 1 18.6 9.6 4.75 4.75 0 0 1 17.5 19z");
        t["magnifyingglass"] = lines(circle(10.5, 10.5, 7) + "M15.5 15.5L21 21");
        t["eye"] = lines("M2 12s3.5-7 10-7 10 7 10 7-3.5 7-10 7S2 12 2 12z" + circle(12, 12, 3));
        // The assistant's own.
        t["sparkles"] = filled("M10 2l1.8 5.2L17 9l-5.2 1.8L10 16l-1.8-5.2L3 9l5.2-1.8zM18 13l.9 "
                               "2.1L21 16l-2.1.9L18 19l-.9-2.1L15 16l2.1-.9z");
        t["wand.and.stars"] =
            lines("M4 20L15 9M13 7l4 4M18 3v3M16.5 4.5h3M20 9v2M19 10h2M9 3v2M8 4h2");
        return t;
    }();
    return table;
}

// A drawing in `color` (its opacity too) at `side` logical pixels.
QPixmap rendered(QByteArray svg, int side, const QColor& color, qreal dpr) {
    svg.replace("currentColor", color.name(QColor::HexRgb).toLatin1());
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) return {};
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setOpacity(color.alphaF());
    renderer.render(&p, QRectF(0, 0, side, side));
    return pm;
}

} // namespace

bool Symbols::isKnown(const QString& name) {
    return drawings().contains(name);
}

QStringList Symbols::names() {
    QStringList all = drawings().keys();
    std::sort(all.begin(), all.end());
    return all;
}

QByteArray Symbols::svg(const QString& name) {
    return drawings().value(name);
}

QPixmap Symbols::pixmap(const QString& name, int side, const QColor& color, qreal dpr) {
    if (side <= 0) return {};
    QByteArray inked = svg(name);
    if (inked.isEmpty()) return {};
    return rendered(inked, side, color, dpr);
}

namespace {

// The drawing's single path split into its subpaths, or nothing when it is not one path.
struct SplitPath {
    QByteArray head; // the SVG up to and including ` d="`
    QByteArray tail; // from the closing quote on
    std::vector<QByteArray> subpaths;
};

std::optional<SplitPath> splitPath(const QByteArray& svg) {
    if (svg.count("<path") != 1 || svg.contains("<g")) return std::nullopt;
    const qsizetype d = svg.indexOf(" d=\"");
    if (d < 0) return std::nullopt;
    const qsizetype begin = d + 4, end = svg.indexOf('"', begin);
    SplitPath split{svg.left(begin), svg.mid(end), {}};
    const QByteArray path = svg.mid(begin, end - begin);
    // Only absolute moves start a layer; a relative one continues the shape before it.
    qsizetype start = 0;
    for (qsizetype i = 1; i <= path.size(); ++i)
        if (i == path.size() || path[i] == 'M') {
            split.subpaths.push_back(path.mid(start, i - start));
            start = i;
        }
    return split;
}

} // namespace

int Symbols::layerCount(const QString& name) {
    const auto split = splitPath(svg(name));
    return split ? int(split->subpaths.size()) : 1;
}

QPixmap Symbols::layeredPixmap(const QString& name, int side, const QColor& color,
                               const std::vector<double>& layerOpacity, qreal dpr) {
    const auto split = splitPath(svg(name));
    if (!split || side <= 0) return pixmap(name, side, color, dpr);
    QByteArray body;
    for (std::size_t i = 0; i < split->subpaths.size(); ++i) {
        const double opacity = i < layerOpacity.size() ? layerOpacity[i] : 1.0;
        QByteArray layer = split->head + split->subpaths[i] + split->tail;
        layer.replace("<path", "<path opacity=\"" + QByteArray::number(opacity, 'f', 3) + "\"");
        // Keep only the path element of this layer's document.
        const qsizetype from = layer.indexOf("<path"), to = layer.indexOf("/>", from) + 2;
        body += layer.mid(from, to - from);
    }
    return rendered(split->head.left(split->head.indexOf("<path")) + body + "</svg>", side, color,
                    dpr);
}

QIcon Symbols::icon(const QString& name, const QColor& color) {
    if (!isKnown(name)) return {};
    QIcon i;
    for (int side : {16, 24, 32, 48, 64})
        i.addPixmap(pixmap(name, side, color));
    return i;
}

} // namespace nolvea
