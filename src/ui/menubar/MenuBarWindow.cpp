#include "ui/menubar/MenuBarWindow.h"

#include "ui/menubar/MenuBarPlacement.h"
#include "ui/menubar/MenuBarStyle.h"
#include "ui/menubar/MenuBarView.h"

#include <QCursor>
#include <QDateTime>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace nolvea {

namespace {

constexpr qint64 kReopenGuardMs = 300;

QScreen* screenFor(const QRect& icon) {
    if (icon.isValid())
        if (QScreen* s = QGuiApplication::screenAt(icon.center())) return s;
    if (QScreen* s = QGuiApplication::screenAt(QCursor::pos())) return s;
    return QGuiApplication::primaryScreen();
}

} // namespace

MenuBarWindow::MenuBarWindow(MenuBarView* view, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_view(view) {
    setWindowTitle(QStringLiteral("Nolvea"));
    setAccessibleName(QStringLiteral("Nolvea"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(view);
    setPalette(MenuBarStyle::palette(palette()));
}

void MenuBarWindow::open(const QRect& icon) {
    m_view->refreshOnAppear();
    adjustSize();
    QScreen* screen = screenFor(icon);
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    const QRect frame = MenuBarPlacement::place(icon, sizeHint(), area);
    move(frame.topLeft());
    show();
    raise();
    activateWindow();
}

bool MenuBarWindow::closedJustNow() const {
    return m_closedAt >= 0 && QDateTime::currentMSecsSinceEpoch() - m_closedAt < kReopenGuardMs;
}

bool MenuBarWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate && isVisible()) {
        hide();
        m_closedAt = QDateTime::currentMSecsSinceEpoch();
    }
    return QWidget::event(e);
}

void MenuBarWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(e);
}

void MenuBarWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), MenuBarStyle::background());
    p.setPen(QColor(255, 255, 255, 40));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace nolvea
