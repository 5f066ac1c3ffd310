#pragma once

// What a screen reader finds of another program through AT-SPI: its controls with their role,
// name, description and whether they show, and a way to press one.

#include <QList>
#include <QString>

#include <atspi/atspi.h>

#include <functional>
#include <memory>

namespace nolvea::test {

struct AccessibleNode {
    QString role;
    QString name;
    QString description;
    bool showing = false;
    bool enabled = false;
    bool checked = false;
};

class AccessibleTree {
public:
    // The tree of the program `pid`, read now; empty when it has none on the bus.
    static AccessibleTree of(qint64 pid) {
        AccessibleTree tree;
        static const bool ready = atspi_init() >= 0;
        if (!ready) return tree;
        AtspiAccessible* desktop = atspi_get_desktop(0);
        const int apps = atspi_accessible_get_child_count(desktop, nullptr);
        for (int i = 0; i < apps; ++i) {
            AtspiAccessible* app = atspi_accessible_get_child_at_index(desktop, i, nullptr);
            if (!app) continue;
            if (atspi_accessible_get_process_id(app, nullptr) == guint(pid)) {
                atspi_accessible_clear_cache(app);
                tree.walk(app, 0);
            }
            g_object_unref(app);
        }
        g_object_unref(desktop);
        return tree;
    }

    const QList<AccessibleNode>& nodes() const { return m_nodes; }
    // The showing nodes of `role` (all roles when empty).
    QList<AccessibleNode> showing(const QString& role = {}) const {
        QList<AccessibleNode> out;
        for (const AccessibleNode& n : m_nodes)
            if (n.showing && (role.isEmpty() || n.role == role)) out << n;
        return out;
    }
    QStringList showingNames(const QString& role) const {
        QStringList out;
        for (const AccessibleNode& n : showing(role))
            out << n.name;
        return out;
    }
    const AccessibleNode* find(const QString& role, const QString& name) const {
        for (const AccessibleNode& n : m_nodes)
            if (n.role == role && n.name == name) return &n;
        return nullptr;
    }
    // Runs the first action of the showing control `name` of `role`, as a screen reader's
    // "activate" does.
    bool press(const QString& role, const QString& name) const {
        for (int i = 0; i < m_nodes.size(); ++i) {
            if (m_nodes[i].role != role || m_nodes[i].name != name || !m_nodes[i].showing) continue;
            AtspiAction* action = atspi_accessible_get_action_iface(m_objects[i].get());
            if (!action) return false;
            const gboolean done = atspi_action_do_action(action, 0, nullptr);
            g_object_unref(action);
            return done;
        }
        return false;
    }

private:
    struct Unref {
        void operator()(AtspiAccessible* a) const { g_object_unref(a); }
    };

    static QString take(gchar* text) {
        const QString out = QString::fromUtf8(text ? text : "");
        g_free(text);
        return out;
    }

    void walk(AtspiAccessible* element, int depth) {
        if (depth > 40) return;
        AccessibleNode node;
        node.role = take(atspi_accessible_get_role_name(element, nullptr));
        node.name = take(atspi_accessible_get_name(element, nullptr));
        node.description = take(atspi_accessible_get_description(element, nullptr));
        if (AtspiStateSet* states = atspi_accessible_get_state_set(element)) {
            node.showing = atspi_state_set_contains(states, ATSPI_STATE_SHOWING);
            node.enabled = atspi_state_set_contains(states, ATSPI_STATE_ENABLED);
            node.checked = atspi_state_set_contains(states, ATSPI_STATE_CHECKED);
            g_object_unref(states);
        }
        m_nodes << node;
        g_object_ref(element);
        m_objects.emplace_back(element);
        const int count = atspi_accessible_get_child_count(element, nullptr);
        for (int i = 0; i < count; ++i) {
            AtspiAccessible* child = atspi_accessible_get_child_at_index(element, i, nullptr);
            if (!child) continue;
            walk(child, depth + 1);
            g_object_unref(child);
        }
    }

    QList<AccessibleNode> m_nodes;
    std::vector<std::unique_ptr<AtspiAccessible, Unref>> m_objects;
};

} // namespace nolvea::test
