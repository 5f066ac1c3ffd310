#include "ui/onboarding/OnboardingSymbolLabel.h"

#include "ui/components/Symbols.h"
#include "ui/onboarding/OnboardingFonts.h"

#include <QHBoxLayout>
#include <QLabel>

namespace nolvea {

OnboardingSymbolLabel::OnboardingSymbolLabel(const QString& symbol, const QColor& symbolColor,
                                             const QString& text, const Look& look, QWidget* parent)
    : QWidget(parent)
    , m_side(look.symbolSide) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(look.spacing);
    m_icon = new QLabel(this);
    m_icon->setFixedSize(m_side, m_side);
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setAccessibleName(QString());
    m_text = OnboardingFonts::label(text, look.font, look.color, this);
    const Qt::Alignment at = look.alignTop ? Qt::AlignTop : Qt::AlignVCenter;
    if (look.alignTop) {
        // Level with the middle of the first line.
        const int line = QFontMetrics(look.font).height();
        m_icon->setContentsMargins(0, std::max(0, (line - m_side) / 2), 0, 0);
        m_icon->setFixedHeight(std::max(m_side, line));
    }
    row->addWidget(m_icon, 0, at);
    row->addWidget(m_text, 1, at);
    setSymbol(symbol, symbolColor);
    setAccessibleName(text);
}

QString OnboardingSymbolLabel::text() const {
    return m_text->text();
}

void OnboardingSymbolLabel::setSymbol(const QString& symbol, const QColor& color) {
    m_symbol = symbol;
    m_icon->setPixmap(Symbols::pixmap(symbol, m_side, color, devicePixelRatioF()));
}

void OnboardingSymbolLabel::setText(const QString& text) {
    m_text->setText(text);
    setAccessibleName(text);
}

} // namespace nolvea
