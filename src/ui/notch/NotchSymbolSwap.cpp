#include "ui/notch/NotchSymbolSwap.h"

#include "ui/animation/ReplaceTransition.h"
#include "ui/components/Symbols.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchMotion.h"

#include <QEvent>
#include <QLabel>

namespace nolvea {

NotchSymbolSwap::NotchSymbolSwap(GlassButton* button)
    : QObject(button)
    , m_button(button)
    , m_symbol(new QLabel(button)) {
    m_symbol->setAttribute(Qt::WA_TransparentForMouseEvents);
    // Its picture, and the blur of it, keep clear around the symbol.
    m_symbol->setAttribute(Qt::WA_TranslucentBackground);
    m_symbol->setAlignment(Qt::AlignCenter);
    m_button->setSymbolDrawn(false);
    m_swap = new ReplaceTransition(m_symbol, Theme::snappy(), &NotchMotion::symbolSwap);
    m_button->installEventFilter(this);
    setLook(m_button->look());
}

void NotchSymbolSwap::setLook(GlassButton::Look look) {
    const bool swaps = look.symbol != m_button->look().symbol;
    if (swaps) m_swap->aboutToChange();
    m_button->setLook(std::move(look));
    place();
}

void NotchSymbolSwap::place() {
    const QRect r = m_button->symbolRect();
    m_symbol->setGeometry(r);
    // A screen reader meets the picture inside the button: it carries the button's name.
    m_symbol->setAccessibleName(m_button->accessibleName());
    m_symbol->setPixmap(Symbols::pixmap(m_button->look().symbol, r.width(), Qt::white,
                                        m_button->devicePixelRatioF()));
}

bool NotchSymbolSwap::eventFilter(QObject* watched, QEvent* e) {
    // A new title moves the symbol with the button's new width.
    if (watched == m_button && e->type() == QEvent::Resize) place();
    return QObject::eventFilter(watched, e);
}

} // namespace nolvea
