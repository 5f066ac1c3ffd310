#include "ui/overlay/ConfirmCard.h"

#include "core/AppState.h"
#include "speech/VoiceController.h"
#include "ui/animation/Bounce.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/FrameDriver.h"
#include "ui/animation/TransitionEffect.h"
#include "ui/animation/Transitions.h"
#include "ui/components/Brand.h"
#include "ui/components/BrandFont.h"
#include "ui/components/DraftEditor.h"
#include "ui/components/GlassButton.h"
#include "ui/components/SymbolBadge.h"
#include "ui/components/Theme.h"
#include "ui/composer/EmailComposerView.h"
#include "ui/overlay/ConfirmCardModel.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace nolvea {

namespace {

QLabel* plainLabel(const QString& text, double pixels, QFont::Weight weight, const QColor& ink) {
    auto* label = new QLabel;
    // Titles and details come from the model and its tools: never rich text.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setWordWrap(true);
    QFont f = label->font();
    BrandFont::setPixels(f, pixels);
    f.setWeight(weight);
    label->setFont(f);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, ink);
    label->setPalette(pal);
    return label;
}

bool isReturn(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

} // namespace

ConfirmCard::ConfirmCard(ActionPreview action, AppState& state, ControllerAccess controller,
                         QWidget* parent)
    : ConfirmCard(std::move(action), state, std::move(controller), ConfirmCardStyle::overlay(),
                  parent) {}

ConfirmCard::ConfirmCard(ActionPreview action, AppState& state, ControllerAccess controller,
                         ConfirmCardStyle style, QWidget* parent)
    : QWidget(parent)
    , m_action(std::move(action))
    , m_style(std::move(style))
    , m_state(state)
    , m_controller(std::move(controller)) {
    setAccessibleName(QStringLiteral("Confirmar ação"));
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(m_style.spacing);
    if (m_action.email) {
        // An e-mail is reviewed in the composer, which answers with its own buttons.
        m_composer = new EmailComposerView(
            m_state, {.controller = m_controller,
                      .keysAccepted = [this] { return keysAccepted(); },
                      .alternateLabel = m_action.alternateLabel.value_or(QString())});
        column->addWidget(m_composer);
        return;
    }

    if (m_style.requestLine && !m_state.lastRequest().isEmpty()) {
        m_request = plainLabel(m_state.lastRequest().simplified(), 12, QFont::Normal,
                               Brand::withOpacity(Qt::white, 0.5));
        m_request->setWordWrap(false); // one line; a longer request is cut at the edge
        m_request->setAccessibleName(QStringLiteral("Pedido"));
        column->addWidget(m_request);
    }

    auto* header = new QHBoxLayout;
    header->setSpacing(m_style.headerSpacing);
    const QColor accent = Theme::agent().accent;
    m_icon = new SymbolBadge({.symbol = m_action.symbol,
                              .side = m_style.badgeSide,
                              .symbolSide = m_style.badgeSymbol,
                              .color = accent,
                              .tint = m_style.badgeGlass ? Theme::agent().glassTint : QColor(),
                              .outlined = m_style.badgeGlass,
                              .fill = m_style.badgeFill},
                             this);
    m_icon->setAccessibleName(QStringLiteral("Ícone da ação"));
    header->addWidget(m_icon, 0, m_style.requestLine ? Qt::AlignVCenter : Qt::AlignTop);
    m_bounce = new Bounce(m_icon);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(m_style.textSpacing);
    m_title = plainLabel(m_action.title, m_style.titlePixels, QFont::DemiBold, Qt::white);
    texts->addWidget(m_title);
    m_lines = m_style.leadingDetail ? ConfirmCardModel::detailLines(m_action.details)
                                    : ConfirmCardModel::plainDetailLines(m_action.details);
    for (const ConfirmDetailLine& line : m_lines) {
        QLabel* label =
            plainLabel(line.text, m_style.detailPixels, QFont::Normal,
                       line.primary ? QColor(Qt::white) : Brand::withOpacity(Qt::white, 0.6));
        // Longer text is cut at its last allowed line.
        label->setMaximumHeight(line.maxLines * label->fontMetrics().lineSpacing());
        texts->addWidget(label);
        m_details.append(label);
        if (!m_style.detailsRise) continue;
        // Each line rises into place after the one before it, once the card is up.
        auto* effect = new TransitionEffect;
        effect->setLook(Transitions::rise(ConfirmCardModel::kDetailRise, 0));
        label->setGraphicsEffect(effect);
    }
    m_driver = new FrameDriver(this, [this](double dt) { return stepEntrance(dt); });
    header->addLayout(texts, 1);
    column->addLayout(header);

    if (m_action.editableKey) {
        m_editor = new DraftEditor(m_state.draftText(), [this] { approve(); });
        connect(m_editor, &DraftEditor::textEdited, &m_state, &AppState::setDraftText);
        connect(&m_state, &AppState::draftTextChanged, m_editor,
                [this] { m_editor->setText(m_state.draftText()); });
        // Ctrl+Return in the editor also waits out the first moments.
        m_editor->editor()->installEventFilter(this);
        column->addWidget(m_editor);
    }

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(m_style.buttonSpacing);
    buttons->addStretch(1);
    m_cancel = new GlassButton({.title = QStringLiteral("Cancelar"),
                                .keyHint = QStringLiteral("esc"),
                                .large = m_style.largeButtons});
    connect(m_cancel, &QAbstractButton::clicked, this, &ConfirmCard::decline);
    buttons->addWidget(m_cancel);
    // With an editor, Return belongs to it: approving is its send button or Ctrl+Return.
    if (!m_editor) {
        m_confirm = new GlassButton(
            {.title = QStringLiteral("Confirmar"),
             .symbol = QStringLiteral("return"),
             .prominent = m_style.confirmTint.isValid() ? m_style.confirmTint : accent,
             .large = m_style.largeButtons});
        connect(m_confirm, &QAbstractButton::clicked, this, &ConfirmCard::approve);
        buttons->addWidget(m_confirm);
    }
    column->addLayout(buttons);
}

void ConfirmCard::takeFocus() {
    if (m_composer)
        m_composer->takeFocus();
    else if (m_editor)
        m_editor->editor()->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

int ConfirmCard::heightForWidth(int width) const {
    const int h = QWidget::heightForWidth(width);
    return m_composer ? std::min(h, kEmailMaxHeight) : h;
}

QSize ConfirmCard::sizeHint() const {
    QSize s = QWidget::sizeHint();
    if (m_composer) s.setHeight(std::min(s.height(), kEmailMaxHeight));
    return s;
}

void ConfirmCard::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_shownAt.count() < 0) m_shownAt = Clock::shared().uptime();
    // The entrance plays once, when the card first appears.
    if (m_appeared || m_composer) return;
    m_appeared = true;
    if (FrameClock::shared().reduceMotion()) {
        applyEntrance();
        return;
    }
    m_entrance = 0;
    applyEntrance();
    m_bounce->play();
    m_driver->kick();
}

bool ConfirmCard::stepEntrance(double dt) {
    if (m_entrance < 0) return false;
    m_entrance += dt;
    if (m_entrance >= ConfirmCardModel::entranceDuration(m_lines)) m_entrance = -1;
    applyEntrance();
    return m_entrance >= 0;
}

void ConfirmCard::applyEntrance() {
    if (!m_style.detailsRise) return;
    for (qsizetype i = 0; i < m_details.size(); ++i) {
        const double p =
            m_entrance < 0 ? 1 : ConfirmCardModel::detailProgress(m_lines[i], m_entrance);
        static_cast<TransitionEffect*>(m_details[i]->graphicsEffect())
            ->setLook(Transitions::rise(ConfirmCardModel::kDetailRise, p));
    }
}

bool ConfirmCard::keysAccepted() const {
    return m_shownAt.count() >= 0 &&
           ConfirmCardModel::acceptsKeys(m_shownAt, Clock::shared().uptime());
}

void ConfirmCard::approve() {
    m_controller().resolveConfirmation(true);
}

void ConfirmCard::decline() {
    m_controller().resolveConfirmation(false);
}

bool ConfirmCard::eventFilter(QObject* watched, QEvent* e) {
    if (m_editor && watched == m_editor->editor() && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (isReturn(k) && (k->modifiers() & Qt::ControlModifier) && !keysAccepted()) return true;
    }
    return QWidget::eventFilter(watched, e);
}

void ConfirmCard::keyPressEvent(QKeyEvent* e) {
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (e->key() == Qt::Key_Escape) {
        if (keysAccepted()) decline();
        return;
    }
    if (isReturn(e) && (!m_editor || ctrl)) {
        if (keysAccepted()) approve();
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace nolvea
