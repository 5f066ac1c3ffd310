#include "ui/notch/NotchField.h"

#include "ui/animation/FrameDriver.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/components/Brand.h"
#include "ui/components/KeyCap.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchMotion.h"
#include "ui/notch/NotchStyle.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace nolvea {

namespace {
constexpr int kEnd = 8; // from the trailing piece to the capsule's end
constexpr int kKeyCapSize = 20;
} // namespace

NotchField::NotchField(Look look, QWidget* parent)
    : QWidget(parent)
    , m_look(std::move(look))
    , m_edit(new QLineEdit)
    , m_send(new QToolButton(this))
    , m_gap(m_look.glyph.isEmpty() ? 10 : 8)
    , m_driver(new FrameDriver(this, [this](double dt) { return step(dt); })) {
    auto* row = new QHBoxLayout(this);
    row->setSpacing(m_gap);
    if (!m_look.glyph.isEmpty()) {
        auto* glyph = new QLabel;
        glyph->setPixmap(Symbols::pixmap(m_look.glyph, 12, Brand::withOpacity(Qt::white, 0.4)));
        row->addWidget(glyph);
    }
    NotchStyle::styleField(m_edit, m_look.pixels);
    m_edit->installEventFilter(this);
    row->addWidget(m_edit, 1);
    // The key cap and the send button sit at the end, over the room the text leaves them; the
    // one arriving and the one leaving share it.
    if (!m_look.keyCap.isEmpty()) m_keyCap = makeKeyCap(m_look.keyCap);
    m_send->setAccessibleName(QStringLiteral("Enviar"));
    m_send->setToolTip(QStringLiteral("Enviar"));
    m_send->setIcon(QIcon(Symbols::pixmap(QStringLiteral("arrow.up"), 12, Qt::black)));
    m_send->setFixedSize(m_look.sendSide, m_look.sendSide);
    m_send->setCursor(Qt::PointingHandCursor);
    m_send->setStyleSheet(QStringLiteral("QToolButton { background: white; border: none; "
                                         "border-radius: %1px; }")
                              .arg(m_look.sendSide / 2));
    setMinimumHeight(2 * kEnd + std::max(m_look.sendSide, m_keyCap ? kKeyCapSize : 0));
    // The send button grows from a point and shrinks back into one.
    m_sendMotion = new WidgetTransition(m_send, [](double progress) {
        const TransitionLook l = NotchMotion::sendButton(progress);
        return MotionPose{l.opacity, l.offset, l.scale};
    });
    makeKeyCapMotion();
    connect(m_send, &QToolButton::clicked, this, &NotchField::submitted);
    connect(m_edit, &QLineEdit::textChanged, this, &NotchField::textChanged);
    m_send->setVisible(false);
    m_sendMotion->jump(false);
    if (m_keyCap) m_keyCap->setVisible(true);
    m_room.jump(roomTarget());
    place();
}

double NotchField::roomTarget() const {
    return NotchMotion::fieldRoom(m_empty, m_keyCap ? m_keyCap->sizeHint().width() : 0,
                                  m_look.sendSide, m_gap);
}

bool NotchField::step(double dt) {
    const bool moving = m_room.advance(dt);
    place();
    return moving;
}

void NotchField::place() {
    const int room = int(std::lround(m_room.value()));
    layout()->setContentsMargins(m_look.glyph.isEmpty() ? 14 : 12, kEnd, kEnd + room, kEnd);
    const int end = width() - kEnd;
    m_send->move(end - m_send->width(), (height() - m_send->height()) / 2);
    if (m_keyCap) {
        const QSize cap = m_keyCap->sizeHint();
        m_keyCap->setGeometry(end - cap.width(), (height() - cap.height()) / 2, cap.width(),
                              cap.height());
    }
}

KeyCap* NotchField::makeKeyCap(const QString& label) {
    auto* cap = new KeyCap(label, kKeyCapSize, false, this);
    cap->setAccessibleName(QStringLiteral("Tecla ") + label);
    // The island is always dark: the key cap takes its dark colours, not the desktop's.
    QPalette pal = cap->palette();
    pal.setColor(QPalette::Window, Qt::black);
    cap->setPalette(pal);
    return cap;
}

void NotchField::makeKeyCapMotion() {
    if (!m_keyCap) return;
    m_keyCapMotion = new WidgetTransition(
        m_keyCap, [](double progress) { return MotionPose{std::clamp(progress, 0.0, 1.0)}; });
}

void NotchField::setPlaceholder(const QString& text) {
    m_edit->setPlaceholderText(text);
    m_edit->setAccessibleName(text);
}

void NotchField::setKeyCap(const QString& label) {
    if (!m_keyCap || m_look.keyCap == label) return;
    m_look.keyCap = label;
    KeyCap* fresh = makeKeyCap(label);
    delete m_keyCap;
    m_keyCap = fresh;
    makeKeyCapMotion();
    m_keyCap->setVisible(m_empty);
    m_driver->animate(m_room, roomTarget(), Theme::snappy());
    m_driver->kick();
    place();
}

void NotchField::textChanged() {
    // Any character counts, a blank too.
    const bool empty = m_edit->text().isEmpty();
    if (empty == m_empty) return;
    m_empty = empty;
    // The key cap and the send button swap with the quick spring.
    auto swap = [](QWidget* w, WidgetTransition* motion, bool shown) {
        if (!w || !motion) return;
        if (shown) {
            w->setVisible(true);
            motion->appear(Theme::snappy());
        } else {
            motion->disappear(Theme::snappy(), [w] { w->setVisible(false); });
        }
    };
    swap(m_send, m_sendMotion, !empty);
    swap(m_keyCap, m_keyCapMotion, empty);
    // The text closes up or makes way with the same spring.
    m_driver->animate(m_room, roomTarget(), Theme::snappy());
    m_driver->kick();
    place();
}

bool NotchField::eventFilter(QObject* watched, QEvent* e) {
    if (watched == m_edit && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Q_EMIT submitted();
            return true;
        }
        if (key == Qt::Key_Escape) {
            Q_EMIT escaped();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void NotchField::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(Brand::withOpacity(Qt::white, 0.08), 1));
    p.setBrush(Brand::withOpacity(Qt::white, m_look.fill));
    p.drawRoundedRect(r, r.height() / 2, r.height() / 2);
}

} // namespace nolvea
