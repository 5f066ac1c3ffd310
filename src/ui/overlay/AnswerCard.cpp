#include "ui/overlay/AnswerCard.h"

#include "core/AppSettings.h"
#include "speech/VoiceController.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/components/SymbolBadge.h"
#include "ui/components/Theme.h"
#include "ui/overlay/AnswerCardModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace nolvea {

AnswerCard::AnswerCard(QString text, ControllerAccess controller, QWidget* parent)
    : QWidget(parent)
    , m_text(std::move(text))
    , m_controller(std::move(controller)) {
    setAccessibleName(QStringLiteral("Resposta"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    auto* badge = new SymbolBadge(
        {QStringLiteral("sparkles"), 34, 15, Theme::agent().accent, Theme::agent().glassTint},
        this);
    badge->setAccessibleName(QStringLiteral("Assistente"));
    top->addWidget(badge, 0, Qt::AlignTop);

    m_answer = new MarkdownText(m_text);
    QFont f = m_answer->font();
    BrandFont::setPixels(f, 14);
    m_answer->setFont(f);
    QPalette pal = m_answer->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    m_answer->setPalette(pal);
    m_answer->setLinkColor(Theme::agent().accent.lighter(130));
    m_answer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (scrolls()) {
        auto* scroll = new QScrollArea;
        scroll->setAccessibleName(QStringLiteral("Resposta completa"));
        scroll->setWidget(m_answer);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFixedHeight(AnswerCardModel::kScrollHeight);
        scroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget "
                                             "{ background: transparent; }"));
        top->addWidget(scroll, 1);
    } else {
        top->addWidget(m_answer, 1);
    }
    column->addLayout(top);

    auto* bottom = new QHBoxLayout;
    m_hint = new QLabel;
    m_hint->setTextFormat(Qt::PlainText);
    QFont hf = m_hint->font();
    BrandFont::setPixels(hf, 11);
    m_hint->setFont(hf);
    QPalette hp = m_hint->palette();
    hp.setColor(QPalette::WindowText, Brand::withOpacity(Qt::white, 0.45));
    m_hint->setPalette(hp);
    bottom->addWidget(m_hint);
    bottom->addStretch(1);
    m_copy = new GlassButton({.title = AnswerCardModel::copyTitle(false),
                              .symbol = AnswerCardModel::copySymbol(false),
                              .symbolFirst = true});
    connect(m_copy, &QAbstractButton::clicked, this, &AnswerCard::copy);
    // "Copiar" gives way to "Copiado": the old label shrinks away as the new one grows in.
    m_copyChange = new ReplaceTransition(m_copy, Theme::snappy(), [](double p) {
        return Transitions::scaleFade(0.7, QPointF(0.5, 0.5), p);
    });
    bottom->addWidget(m_copy);
    m_close = new GlassButton({.symbol = QStringLiteral("xmark")});
    m_close->setAccessibleName(QStringLiteral("Fechar"));
    m_close->setToolTip(QStringLiteral("Fechar"));
    connect(m_close, &QAbstractButton::clicked, this, [this] { m_controller().dismissAnswer(); });
    bottom->addWidget(m_close);
    column->addLayout(bottom);

    updateHint();
    connect(&AppSettings::shared(), &AppSettings::hotkeyChanged, this, &AnswerCard::updateHint);
}

bool AnswerCard::scrolls() const {
    return AnswerCardModel::scrolls(m_text);
}

void AnswerCard::updateHint() {
    m_hint->setText(AnswerCardModel::hint(AppSettings::shared().hotkey()));
}

void AnswerCard::copy() {
    // The source, markup included: what the model wrote.
    QGuiApplication::clipboard()->setText(m_text);
    if (!m_copied) m_copyChange->aboutToChange();
    m_copied = true;
    m_copy->setLook({.title = AnswerCardModel::copyTitle(true),
                     .symbol = AnswerCardModel::copySymbol(true),
                     .symbolFirst = true});
}

} // namespace nolvea
