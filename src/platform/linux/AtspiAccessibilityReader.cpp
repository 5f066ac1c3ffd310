#include "platform/linux/AtspiAccessibilityReader.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDeadlineTimer>

#include <atspi/atspi.h>

#include <memory>

namespace nolvea {

namespace {

const QString busService = QStringLiteral("org.a11y.Bus");
const QString busPath = QStringLiteral("/org/a11y/bus");
const QString statusInterface = QStringLiteral("org.a11y.Status");

template <typename T> struct GObjectDeleter {
    void operator()(T* object) const {
        if (object) g_object_unref(object);
    }
};
template <typename T> using GObjectPtr = std::unique_ptr<T, GObjectDeleter<T>>;

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};

// Calls that fail leave their error here; it is dropped at once.
struct IgnoredError {
    GError* error = nullptr;
    ~IgnoredError() { clear(); }
    GError** operator&() {
        clear();
        return &error;
    }
    explicit operator bool() const { return error != nullptr; }
    void clear() {
        if (error) g_error_free(error);
        error = nullptr;
    }
};

bool hasState(AtspiAccessible* element, AtspiStateType state) {
    GObjectPtr<AtspiStateSet> set(atspi_accessible_get_state_set(element));
    return set && atspi_state_set_contains(set.get(), state);
}

// The element with the keyboard focus at or below `element`, searching showing elements only,
// depth first, until `deadline`.
GObjectPtr<AtspiAccessible> findFocused(AtspiAccessible* element, const QDeadlineTimer& deadline,
                                        int depth = 0) {
    if (deadline.hasExpired() || depth > 40) return nullptr;
    if (hasState(element, ATSPI_STATE_FOCUSED)) {
        g_object_ref(element);
        return GObjectPtr<AtspiAccessible>(element);
    }
    IgnoredError error;
    const int count = atspi_accessible_get_child_count(element, &error);
    if (error) return nullptr;
    for (int i = 0; i < count && !deadline.hasExpired(); ++i) {
        GObjectPtr<AtspiAccessible> child(atspi_accessible_get_child_at_index(element, i, &error));
        if (!child) continue;
        if (depth > 0 && !hasState(child.get(), ATSPI_STATE_SHOWING)) continue;
        if (auto found = findFocused(child.get(), deadline, depth + 1)) return found;
    }
    return nullptr;
}

// The focused element inside one application: its active window first.
GObjectPtr<AtspiAccessible> focusedIn(AtspiAccessible* app, const QDeadlineTimer& deadline) {
    IgnoredError error;
    const int count = atspi_accessible_get_child_count(app, &error);
    if (error) return nullptr;
    std::vector<GObjectPtr<AtspiAccessible>> others;
    for (int i = 0; i < count && !deadline.hasExpired(); ++i) {
        GObjectPtr<AtspiAccessible> window(atspi_accessible_get_child_at_index(app, i, &error));
        if (!window) continue;
        if (!hasState(window.get(), ATSPI_STATE_ACTIVE)) {
            others.push_back(std::move(window));
            continue;
        }
        if (auto found = findFocused(window.get(), deadline, 1)) return found;
    }
    for (auto& window : others)
        if (auto found = findFocused(window.get(), deadline, 1)) return found;
    return nullptr;
}

// The UTF-16 index of the `offset`-th character (code point) of `text`; past the end gives the
// end, a negative offset stays negative.
qint64 utf16Index(const QString& text, qint64 offset) {
    if (offset < 0) return offset;
    qint64 index = 0;
    for (qint64 n = 0; n < offset && index < text.size(); ++n)
        index += text.at(index).isHighSurrogate() && index + 1 < text.size() ? 2 : 1;
    return index;
}

QString text(AtspiText* text, int from, int to) {
    IgnoredError error;
    std::unique_ptr<gchar, GFreeDeleter> chars(atspi_text_get_text(text, from, to, &error));
    return chars ? QString::fromUtf8(chars.get()) : QString();
}

FocusedText read(AtspiAccessible* element) {
    FocusedText out;
    GObjectPtr<AtspiText> iface(atspi_accessible_get_text_iface(element));
    if (!iface) return out;
    IgnoredError error;
    const int count = atspi_text_get_character_count(iface.get(), &error);
    if (error) return out;
    const QString value = text(iface.get(), 0, count);
    out.value = value;
    const int selections = atspi_text_get_n_selections(iface.get(), &error);
    if (!error && selections > 0) {
        std::unique_ptr<AtspiRange, GFreeDeleter> range(
            atspi_text_get_selection(iface.get(), 0, &error));
        if (range) {
            const int start = std::min(range->start_offset, range->end_offset);
            const int end = std::max(range->start_offset, range->end_offset);
            out.selectedText = text(iface.get(), start, end);
            out.selectionStart = utf16Index(value, start);
            return out;
        }
    }
    const int caret = atspi_text_get_caret_offset(iface.get(), &error);
    if (!error) out.selectionStart = utf16Index(value, caret);
    return out;
}

} // namespace

bool AtspiAccessibilityReader::busRuns() {
    auto* bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(busService).value();
}

bool AtspiAccessibilityReader::isEnabled() {
    if (!busRuns()) return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        busService, busPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << statusInterface << QStringLiteral("IsEnabled");
    QDBusReply<QDBusVariant> reply = QDBusConnection::sessionBus().call(get, QDBus::Block, 1000);
    return reply.isValid() && reply.value().variant().toBool();
}

bool AtspiAccessibilityReader::setEnabled(bool enabled) {
    if (!busRuns()) return false;
    QDBusMessage set = QDBusMessage::createMethodCall(
        busService, busPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Set"));
    set << statusInterface << QStringLiteral("IsEnabled")
        << QVariant::fromValue(QDBusVariant(enabled));
    const QDBusMessage reply = QDBusConnection::sessionBus().call(set, QDBus::Block, 1000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

std::optional<FocusedText> AtspiAccessibilityReader::focusedText(qint32 processID,
                                                                 std::chrono::milliseconds budget) {
    if (!busRuns()) return std::nullopt;
    static const bool ready = atspi_init() >= 0;
    if (!ready) return std::nullopt;
    const QDeadlineTimer deadline(budget);
    // Every message may take at most what is left of the budget.
    const int perCall = int(std::max<qint64>(budget.count(), 1));
    atspi_set_timeout(perCall, perCall);

    GObjectPtr<AtspiAccessible> desktop(atspi_get_desktop(0));
    if (!desktop) return std::nullopt;
    IgnoredError error;
    const int apps = atspi_accessible_get_child_count(desktop.get(), &error);
    if (error) return std::nullopt;
    for (int i = 0; i < apps && !deadline.hasExpired(); ++i) {
        GObjectPtr<AtspiAccessible> app(
            atspi_accessible_get_child_at_index(desktop.get(), i, &error));
        if (!app) continue;
        if (processID != 0 &&
            qint32(atspi_accessible_get_process_id(app.get(), &error)) != processID)
            continue;
        // States and children change without us listening for their events: ask afresh.
        atspi_accessible_clear_cache(app.get());
        if (auto focused = focusedIn(app.get(), deadline)) return read(focused.get());
    }
    return std::nullopt;
}

} // namespace nolvea
