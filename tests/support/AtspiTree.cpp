#include "support/AtspiTree.h"

#include <QCoreApplication>
#include <QThread>

#include <atomic>
#include <thread>

#undef signals
#include <atspi/atspi.h>

namespace nolvea::test {

namespace {

QString take(gchar* text) {
    const QString out = QString::fromUtf8(text ? text : "");
    g_free(text);
    return out;
}

void walk(AtspiAccessible* node, QStringList& out, int depth) {
    if (!node || depth > 60) return;
    const QString role = take(atspi_accessible_get_role_name(node, nullptr));
    const QString name = take(atspi_accessible_get_name(node, nullptr));
    out << role + u'|' + name;
    const gint n = atspi_accessible_get_child_count(node, nullptr);
    for (gint i = 0; i < n; ++i) {
        AtspiAccessible* child = atspi_accessible_get_child_at_index(node, i, nullptr);
        walk(child, out, depth + 1);
        if (child) g_object_unref(child);
    }
}

QStringList read(qint64 pid) {
    QStringList out;
    atspi_init();
    AtspiAccessible* desktop = atspi_get_desktop(0);
    const gint apps = atspi_accessible_get_child_count(desktop, nullptr);
    for (gint i = 0; i < apps; ++i) {
        AtspiAccessible* app = atspi_accessible_get_child_at_index(desktop, i, nullptr);
        if (app && atspi_accessible_get_process_id(app, nullptr) == guint(pid)) walk(app, out, 0);
        if (app) g_object_unref(app);
    }
    g_object_unref(desktop);
    return out;
}

} // namespace

QStringList atspiElements(qint64 pid) {
    QStringList result;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        result = read(pid);
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    reader.join();
    return result;
}

} // namespace nolvea::test
