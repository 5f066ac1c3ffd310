#pragma once

#include "ui/components/GlassButton.h"

#include <QObject>

class QLabel;

namespace nolvea {

class ReplaceTransition;

// Shows a glass button's symbol in place of the button, so that a new symbol replaces the old
// one with the symbol swap instead of cutting to it. Lives as long as the button.
class NotchSymbolSwap : public QObject {
public:
    explicit NotchSymbolSwap(GlassButton* button);

    // Gives the button `look`; a symbol other than the one shown swaps in.
    void setLook(GlassButton::Look look);
    QLabel* symbol() const { return m_symbol; }
    ReplaceTransition* transition() const { return m_swap; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void place();

    GlassButton* m_button;
    QLabel* m_symbol;
    ReplaceTransition* m_swap;
};

} // namespace nolvea
