#include "ui/notch/NotchAnswerCard.h"

#include "core/AppSettings.h"
#include "core/AppState.h"
#include "speech/VoiceController.h"
#include "ui/components/BrandFont.h"
#include "ui/components/GlassButton.h"
#include "ui/components/MarkdownText.h"
#include "ui/components/Theme.h"
#include "ui/notch/NotchController.h"
#include "ui/notch/NotchField.h"
#include "ui/notch/NotchStyle.h"
#include "ui/notch/NotchSymbolSwap.h"
#include "ui/notch/NotchTexts.h"
#include "ui/overlay/AnswerCardModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace nolvea {

NotchAnswerCard::NotchAnswerCard(AppState& state, NotchController& notch, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_notch(notch)
    , m_conversation(NotchStyle::label({}, 10, QFont::DemiBold))
    , m_request(NotchStyle::label({}, 12, QFont::Normal, 0.5))
    , m_answer(new MarkdownText(state.answerText()))
    , m_reply(new NotchField({.glyph = QStringLiteral("arrowshape.turn.up.left.fill"),
                              .pixels = 12,
                              .fill = 0.07,
                              .sendSide = 20}))
    , m_problem(NotchStyle::label({}, 11, QFont::Medium, 0.75))
    , m_speech(new GlassButton({.symbol = NotchTexts::speechSymbol(state.isSpeaking())}))
    , m_copy(new GlassButton({.title = AnswerCardModel::copyTitle(false),
                              .symbol = AnswerCardModel::copySymbol(false),
                              .symbolFirst = true}))
    , m_newConversation(new GlassButton({.title = QStringLiteral("Nova conversa"),
                                         .symbol = QStringLiteral("plus.bubble"),
                                         .symbolFirst = true}))
    , m_close(new GlassButton({.symbol = QStringLiteral("xmark")}))
    , m_speechSymbol(new NotchSymbolSwap(m_speech))
    , m_copySymbol(new NotchSymbolSwap(m_copy)) {
    setAccessibleName(QStringLiteral("Resposta"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto* header = new QHBoxLayout;
    header->setSpacing(6);
    QPalette cp = m_conversation->palette();
    cp.setColor(QPalette::WindowText, Theme::agent().colors[1]);
    m_conversation->setPalette(cp);
    m_conversation->setAccessibleName(QStringLiteral("Conversa"));
    header->addWidget(m_conversation);
    m_request->setAccessibleName(QStringLiteral("Pedido"));
    header->addWidget(m_request, 1);
    column->addLayout(header);

    QFont f = m_answer->font();
    BrandFont::setPixels(f, 14);
    m_answer->setFont(f);
    QPalette ap = m_answer->palette();
    ap.setColor(QPalette::WindowText, QColor(255, 255, 255, 242));
    m_answer->setPalette(ap);
    m_answer->setLinkColor(Theme::agent().accent.lighter(130));
    m_answer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_answer->setAccessibleName(QStringLiteral("Resposta"));
    m_scrolls = NotchTexts::answerScrolls(state.answerText());
    if (m_scrolls) {
        auto* scroll = new QScrollArea;
        scroll->setAccessibleName(QStringLiteral("Resposta completa"));
        scroll->setWidget(m_answer);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFixedHeight(NotchTexts::kAnswerScrollHeight);
        scroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget "
                                             "{ background: transparent; }"));
        column->addWidget(scroll);
    } else {
        column->addWidget(m_answer);
    }

    m_reply->setPlaceholder(NotchTexts::replyPlaceholder(AppSettings::shared().hotkey()));
    m_reply->edit()->setText(notch.model().replyText());
    connect(m_reply->edit(), &QLineEdit::textChanged, this, [this](const QString& text) {
        m_notch.model().setReplyText(text);
        m_problem->hide();
    });
    connect(m_reply, &NotchField::submitted, this, &NotchAnswerCard::submitReply);
    connect(&AppSettings::shared(), &AppSettings::hotkeyChanged, this, [this] {
        m_reply->setPlaceholder(NotchTexts::replyPlaceholder(AppSettings::shared().hotkey()));
    });
    column->addWidget(m_reply);
    m_problem->setAccessibleName(QStringLiteral("Aviso"));
    m_problem->hide();
    column->addWidget(m_problem);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    connect(m_speech, &QAbstractButton::clicked, this,
            [this] { m_notch.voiceController().toggleSpeech(); });
    buttons->addWidget(m_speech);
    connect(m_copy, &QAbstractButton::clicked, this, &NotchAnswerCard::copy);
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    m_newConversation->setAccessibleName(QStringLiteral("Nova conversa"));
    connect(m_newConversation, &QAbstractButton::clicked, this, [this] {
        VoiceController& controller = m_notch.voiceController();
        controller.newConversation();
        controller.dismissAnswer();
    });
    buttons->addWidget(m_newConversation);
    m_close->setAccessibleName(QStringLiteral("Fechar"));
    m_close->setToolTip(QStringLiteral("Fechar (esc)"));
    connect(m_close, &QAbstractButton::clicked, this,
            [this] { m_notch.voiceController().dismissAnswer(); });
    buttons->addWidget(m_close);
    column->addLayout(buttons);

    for (auto signal : {&AppState::isSpeakingChanged, &AppState::conversationTurnsChanged,
                        &AppState::lastRequestChanged, &AppState::answerTextChanged})
        connect(&state, signal, this, &NotchAnswerCard::refresh);
    refresh();
}

void NotchAnswerCard::refresh() {
    const auto label = NotchTexts::conversationLabel(m_state.conversationTurns());
    m_conversation->setVisible(label.has_value());
    m_conversation->setText(label.value_or(QString()));
    const QString request = m_state.lastRequest();
    m_request->setVisible(!request.isEmpty());
    m_request->setText(request.simplified());
    if (m_answer->markdown() != m_state.answerText()) m_answer->setMarkdown(m_state.answerText());
    const bool speaking = m_state.isSpeaking();
    m_speech->setAccessibleName(NotchTexts::speechHelp(speaking));
    m_speechSymbol->setLook({.symbol = NotchTexts::speechSymbol(speaking)});
    m_speech->setToolTip(NotchTexts::speechHelp(speaking));
    m_newConversation->setVisible(NotchTexts::offersNewConversation(m_state.conversationTurns()));
}

void NotchAnswerCard::copy() {
    // The source, markup included: what the model wrote.
    QGuiApplication::clipboard()->setText(m_state.answerText());
    m_copied = true;
    m_copySymbol->setLook({.title = AnswerCardModel::copyTitle(true),
                           .symbol = AnswerCardModel::copySymbol(true),
                           .symbolFirst = true});
}

void NotchAnswerCard::submitReply() {
    if (const auto error = m_notch.submitReply()) {
        m_problem->setText(error->message());
        m_problem->show();
        return;
    }
    m_reply->edit()->clear();
}

} // namespace nolvea
