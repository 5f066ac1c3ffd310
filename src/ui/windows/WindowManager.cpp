#include "ui/windows/WindowManager.h"

#include "ui/components/Brand.h"
#include "ui/onboarding/OnboardingView.h"
#include "ui/settings/SettingsView.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

namespace nolvea {

namespace {

constexpr const char* kKindProperty = "nolveaWindowKind";

// The onboarding window has no title of its own to drag: its background moves it.
class DragByBackground : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::MouseButtonPress) return false;
        auto* w = qobject_cast<QWidget*>(watched);
        auto* me = static_cast<QMouseEvent*>(e);
        if (!w || me->button() != Qt::LeftButton) return false;
        QWidget* under = w->childAt(me->position().toPoint());
        const bool background = !under || under->inherits("QFrame") || under == w;
        if (background && w->window()->windowHandle()) {
            w->window()->windowHandle()->startSystemMove();
            return true;
        }
        return false;
    }
};

} // namespace

WindowManager::Spec WindowManager::spec(Kind kind) {
    switch (kind) {
    case Kind::onboarding:
        return {QStringLiteral("Boas-vindas à Nolvea"), {780, 660}, {624, 528}, false};
    case Kind::settings:
        break;
    }
    return {QStringLiteral("Ajustes da Nolvea"), {760, 560}, {608, 448}, true};
}

WindowManager& WindowManager::shared() {
    static WindowManager manager;
    return manager;
}

WindowManager::WindowManager() = default;

WindowManager::~WindowManager() {
    for (auto& [kind, w] : m_windows)
        delete w.data();
}

QWidget* WindowManager::window(Kind kind) const {
    auto it = m_windows.find(kind);
    return it == m_windows.end() ? nullptr : it->second.data();
}

void WindowManager::show(Kind kind) {
    if (QWidget* open = window(kind)) {
        setPolicy(ActivationPolicy::regular);
        bringToFront(open);
        return;
    }
    QWidget* w = build(kind);
    m_windows[kind] = w;
    w->setProperty(kKindProperty, int(kind));
    w->installEventFilter(this);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), w->size());
        frame.moveCenter(screen->availableGeometry().center());
        w->move(frame.topLeft());
    }
    setPolicy(ActivationPolicy::regular);
    bringToFront(w);
}

void WindowManager::didClose(Kind kind) {
    auto it = m_windows.find(kind);
    if (it == m_windows.end()) return;
    if (QWidget* w = it->second.data()) {
        w->removeEventFilter(this);
        w->deleteLater();
    }
    m_windows.erase(it);
    if (m_windows.empty()) setPolicy(ActivationPolicy::accessory);
}

bool WindowManager::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Close && watched->isWidgetType()) {
        const QVariant kind = watched->property(kKindProperty);
        if (kind.isValid() && window(Kind(kind.toInt())) == watched) {
            if (e->isAccepted()) didClose(Kind(kind.toInt()));
        }
    }
    return false;
}

QWidget* WindowManager::build(Kind kind) {
    const Spec s = spec(kind);
    auto* w = new QWidget(nullptr, Qt::Window);
    w->setWindowTitle(s.title);
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    if (kind == Kind::onboarding) {
        QPointer<WindowManager> self(this);
        auto* root = new OnboardingView(0, [self] {
            if (!self) return;
            if (QWidget* open = self->window(Kind::onboarding)) open->close();
        });
        root->setHost(m_onboardingHost);
        layout->addWidget(root);
        QPalette p = w->palette();
        for (auto role : {QPalette::Window, QPalette::Base})
            p.setColor(role, Brand::noite());
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(role, Qt::white);
        w->setPalette(p);
        w->setAutoFillBackground(true);
        w->installEventFilter(new DragByBackground(w));
        // Not resizable by the person.
        w->setFixedSize(s.contentSize);
    } else {
        layout->addWidget(new SettingsView);
        w->setMinimumSize(s.minimumSize);
        w->resize(s.contentSize);
    }
    return w;
}

void WindowManager::setPolicy(ActivationPolicy policy) {
    if (m_policy == policy) return;
    m_policy = policy;
    Q_EMIT activationPolicyChanged(policy);
}

void WindowManager::bringToFront(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace nolvea
