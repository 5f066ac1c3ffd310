#include "ui/drawer/DrawerCountMotion.h"

#include <algorithm>

namespace nolvea {

namespace {

struct Run {
    QString text;
    bool digits;
    int start;
};

QList<Run> runs(const QString& text) {
    QList<Run> out;
    for (int i = 0; i < text.size(); ++i) {
        const bool digit = text[i].isDigit();
        if (out.isEmpty() || out.back().digits != digit) out.append({QString(), digit, i});
        out.back().text += text[i];
    }
    return out;
}

// Both texts have the same words between their numbers.
bool sameShape(const QList<Run>& a, const QList<Run>& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].digits != b[i].digits || (!a[i].digits && a[i].text != b[i].text)) return false;
    return true;
}

} // namespace

QList<DrawerCountMotion::Piece> DrawerCountMotion::pieces(const QString& from, const QString& to) {
    if (from == to) return {{to, Role::kept, 0, 0}};
    const QList<Run> a = runs(from);
    const QList<Run> b = runs(to);
    if (!sameShape(a, b)) {
        QList<Piece> out;
        if (!from.isEmpty()) out.append({from, Role::leaving, 0, -1});
        if (!to.isEmpty()) out.append({to, Role::entering, -1, 0});
        return out;
    }
    QList<Piece> out;
    for (qsizetype r = 0; r < a.size(); ++r) {
        if (!a[r].digits) {
            out.append({b[r].text, Role::kept, a[r].start, b[r].start});
            continue;
        }
        // Units under units: the longer number's extra digits come or go on the left.
        const QString& x = a[r].text;
        const QString& y = b[r].text;
        const int width = int(std::max(x.size(), y.size()));
        for (int k = width - 1; k >= 0; --k) {
            const int i = int(x.size()) - 1 - k;
            const int j = int(y.size()) - 1 - k;
            const bool inOld = i >= 0;
            const bool inNew = j >= 0;
            if (inOld && inNew && x[i] == y[j]) {
                out.append({QString(y[j]), Role::kept, a[r].start + i, b[r].start + j});
                continue;
            }
            if (inOld) out.append({QString(x[i]), Role::leaving, a[r].start + i, -1});
            if (inNew) out.append({QString(y[j]), Role::entering, -1, b[r].start + j});
        }
    }
    return out;
}

int DrawerCountMotion::direction(const QString& from, const QString& to) {
    const QList<Run> a = runs(from);
    const QList<Run> b = runs(to);
    if (!sameShape(a, b)) return 1;
    for (qsizetype r = 0; r < a.size(); ++r) {
        if (!a[r].digits || a[r].text == b[r].text) continue;
        return b[r].text.toULongLong() >= a[r].text.toULongLong() ? 1 : -1;
    }
    return 1;
}

TransitionLook DrawerCountMotion::look(Role role, double progress, int direction,
                                       double lineHeight) {
    // A digit travels most of a line and sharpens as it lands.
    const double travel = 0.7 * lineHeight;
    const double p = std::clamp(progress, 0.0, 1.0);
    switch (role) {
    case Role::kept:
        return {};
    case Role::entering:
        return {.scale = 0.6 + 0.4 * p,
                .offset = {0, direction * (1 - p) * travel},
                .opacity = p,
                .blur = 2 * (1 - p)};
    case Role::leaving:
        return {.scale = 1 - 0.4 * p,
                .offset = {0, -direction * p * travel},
                .opacity = 1 - p,
                .blur = 2 * p};
    }
    return {};
}

} // namespace nolvea
