#include "ui/composer/EmailComposerView.h"

#include "agent/ContactsLookup.h"
#include "core/AppState.h"
#include "speech/VoiceController.h"
#include "support/Detached.h"
#include "ui/animation/RevealBox.h"
#include "ui/animation/WidgetTransition.h"
#include "ui/components/GlassButton.h"
#include "ui/components/Symbols.h"
#include "ui/composer/ComposerMotion.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/composer/EmailComposerModel.h"
#include "ui/composer/OriginalEmailView.h"
#include "ui/composer/RecipientChip.h"
#include "ui/composer/RecipientField.h"
#include "ui/menubar/ElidedLabel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

namespace nolvea {

namespace {

const QColor kSendGreen = QColor::fromRgbF(0.13f, 0.62f, 0.38f);

// The rounded well behind the fields and the body.
class Well : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        ComposerStyle::paintWell(p, QRectF(rect()));
    }
};

// The body's well: as tall as its text wants, yet yielding down to a few lines when the
// host has less room.
class BodyWell : public Well {
public:
    using Well::Well;
    void setPreferredHeight(int h) {
        m_preferred = h;
        updateGeometry();
    }
    QSize sizeHint() const override { return {Well::sizeHint().width(), m_preferred}; }

private:
    int m_preferred = 110;
};

class Divider : public QWidget {
public:
    Divider() { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), ComposerStyle::ink(0.06));
    }
};

// A labelled row: a 50-point label column and content that wraps.
QWidget* fieldRow(const QString& label, QWidget* content, QWidget* trailing = nullptr) {
    auto* row = new QWidget;
    auto* line = new QHBoxLayout(row);
    line->setContentsMargins(0, 8, 0, 8);
    line->setSpacing(10);
    QLabel* text = ComposerStyle::label(label, 11, QFont::Medium, ComposerStyle::ink(0.6));
    text->setFixedWidth(50);
    text->setFixedHeight(26);
    line->addWidget(text, 0, Qt::AlignTop);
    line->addWidget(content, 1);
    if (trailing) line->addWidget(trailing, 0, Qt::AlignTop);
    return row;
}

bool isReturn(const QKeyEvent* k) {
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

// Fills in the address of a recipient added by name. The person's own edits meanwhile win.
QCoro::Task<> lookUp(QPointer<AppState> state, EmailComposerView::Lookup lookup,
                     EmailRecipient asked) {
    std::vector<EmailRecipient> one;
    one.push_back(asked);
    const std::vector<EmailRecipient> found = co_await lookup(std::move(one));
    if (!state || found.empty()) co_return;
    if (auto next = EmailComposerModel::withLookup(state->emailDraft(), asked, found.front()))
        state->setEmailDraft(*next);
}

} // namespace

EmailComposerView::EmailComposerView(AppState& state, Options options, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_options(std::move(options)) {
    if (!m_options.lookup) m_options.lookup = ContactsLookup::resolve;
    if (m_options.alternateLabel.isEmpty())
        m_options.alternateLabel = QStringLiteral("Abrir no Mail");
    setAccessibleName(QStringLiteral("E-mail"));
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    // Header: the mail symbol, the title and the request it answers.
    auto* headerBox = new QWidget;
    auto* header = new QHBoxLayout(headerBox);
    header->setContentsMargins(0, 0, 0, 0);
    header->setSpacing(10);
    auto* icon = new QLabel;
    icon->setPixmap(Symbols::pixmap(QStringLiteral("envelope.fill"), 26, ComposerStyle::ink(0.9),
                                    devicePixelRatioF()));
    icon->setFixedSize(26, 26);
    header->addWidget(icon);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(1);
    m_title = ComposerStyle::label({}, 14, QFont::DemiBold, ComposerStyle::ink());
    titles->addWidget(m_title);
    m_request = ComposerStyle::label({}, 11, QFont::Normal, ComposerStyle::ink(0.6));
    m_request->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    titles->addWidget(m_request);
    header->addLayout(titles, 1);
    column->addWidget(headerBox);

    m_originalSlot = new QWidget;
    auto* slot = new QVBoxLayout(m_originalSlot);
    slot->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_originalSlot);

    // Fields: De, Para, Cc, Assunto.
    auto* fields = new Well;
    auto* rows = new QVBoxLayout(fields);
    rows->setContentsMargins(12, 0, 12, 0);
    rows->setSpacing(0);

    auto* sender = new QWidget;
    auto* senderLine = new QHBoxLayout(sender);
    senderLine->setContentsMargins(0, 0, 0, 0);
    m_senderPicker = new QComboBox;
    m_senderPicker->setAccessibleName(QStringLiteral("Conta de envio"));
    m_senderPicker->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    senderLine->addWidget(m_senderPicker);
    m_senderText = ComposerStyle::label({}, 12, QFont::Normal, ComposerStyle::ink(0.6));
    m_senderText->setFixedHeight(26);
    senderLine->addWidget(m_senderText);
    senderLine->addStretch(1);
    rows->addWidget(fieldRow(QStringLiteral("De"), sender));
    connect(m_senderPicker, &QComboBox::activated, this, [this](int index) {
        EmailDraft d = m_state.emailDraft();
        d.from = m_senderPicker->itemData(index).toString();
        m_state.setEmailDraft(d);
    });
    rows->addWidget(new Divider);

    m_to = new RecipientField(QStringLiteral("Adicionar destinatário"));
    m_ccButton = new GlassButton({.title = QStringLiteral("Cc")});
    m_ccButton->setAccessibleName(QStringLiteral("Adicionar Cc"));
    rows->addWidget(fieldRow(QStringLiteral("Para"), m_to, m_ccButton));
    connect(m_ccButton, &QAbstractButton::clicked, this, [this] {
        m_askedForCc = true;
        refresh();
        m_cc->entry()->setFocus(Qt::OtherFocusReason);
    });

    // The Cc row with its divider comes down from under the "Para" row, fading in.
    auto* ccBlock = new QWidget;
    auto* ccLines = new QVBoxLayout(ccBlock);
    ccLines->setContentsMargins(0, 0, 0, 0);
    ccLines->setSpacing(0);
    ccLines->addWidget(new Divider);
    m_cc = new RecipientField(QStringLiteral("Adicionar cópia"));
    m_ccRow = fieldRow(QStringLiteral("Cc"), m_cc);
    ccLines->addWidget(m_ccRow);
    m_ccBox = new RevealBox(ccBlock);
    m_ccMotion = new WidgetTransition(m_ccBox, ComposerMotion::fade, false);
    m_ccMotion->setOnProgress([box = m_ccBox](double p) { box->setFraction(p); });
    m_ccBox->hide();
    rows->addWidget(m_ccBox);
    rows->addWidget(new Divider);

    m_subject = new QLineEdit;
    ComposerStyle::plainField(m_subject, 13, QFont::DemiBold);
    m_subject->setPlaceholderText(QStringLiteral("Assunto"));
    m_subject->setAccessibleName(QStringLiteral("Assunto"));
    m_subject->setFixedHeight(26);
    rows->addWidget(fieldRow(QStringLiteral("Assunto"), m_subject));
    column->addWidget(fields);
    m_pieces = {headerBox, m_originalSlot, fields};

    for (RecipientField* f : {m_to, m_cc}) {
        const bool to = f == m_to;
        connect(f, &RecipientField::removeRequested, this, [this, to](const QUuid& id) {
            EmailDraft d = m_state.emailDraft();
            (to ? d.to : d.cc) = EmailComposerModel::removing(to ? d.to : d.cc, id);
            m_state.setEmailDraft(d);
        });
        connect(f, &RecipientField::addressFinished, this,
                [this, to](const QUuid& id, const QString& address) {
                    EmailDraft d = m_state.emailDraft();
                    (to ? d.to : d.cc) =
                        EmailComposerModel::withAddress(to ? d.to : d.cc, id, address);
                    m_state.setEmailDraft(d);
                });
    }
    connect(m_to, &RecipientField::entryFinished, this, &EmailComposerView::addRecipient);
    connect(m_cc, &RecipientField::entryFinished, this, &EmailComposerView::addCopyRecipient);
    connect(m_subject, &QLineEdit::textEdited, this, [this](const QString& text) {
        EmailDraft d = m_state.emailDraft();
        d.subject = text;
        m_state.setEmailDraft(d);
    });

    // Body.
    auto* bodyWell = new BodyWell;
    bodyWell->setMinimumHeight(56);
    bodyWell->setMaximumHeight(240);
    auto* bodyLayout = new QVBoxLayout(bodyWell);
    bodyLayout->setContentsMargins(10, 10, 10, 10);
    m_body = new QPlainTextEdit;
    m_body->setAccessibleName(QStringLiteral("Texto do e-mail"));
    m_body->setFrameShape(QFrame::NoFrame);
    m_body->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: transparent; color: white; }"));
    m_body->setFont(ComposerStyle::font(13));
    m_body->setTabChangesFocus(true);
    bodyLayout->addWidget(m_body);
    column->addWidget(bodyWell);
    // As tall as its text, between 110 and 240 points; longer text scrolls.
    const auto fitBody = [this, bodyWell] {
        const int lines = std::max(1, m_body->document()->lineCount());
        const int text = lines * m_body->fontMetrics().lineSpacing() + 2 * 10 + 8;
        bodyWell->setPreferredHeight(std::clamp(text, 110, 240));
    };
    fitBody();
    connect(m_body->document(), &QTextDocument::contentsChanged, this, fitBody);
    connect(m_body, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_body->toPlainText();
        if (text == m_state.emailDraft().body) return;
        EmailDraft d = m_state.emailDraft();
        d.body = text;
        m_state.setEmailDraft(d);
    });

    // Footer.
    auto* footerBox = new QWidget;
    auto* footer = new QHBoxLayout(footerBox);
    footer->setContentsMargins(0, 0, 0, 0);
    footer->setSpacing(8);
    m_open = new GlassButton(
        {.title = m_options.alternateLabel, .symbol = QStringLiteral("arrow.up.forward.app")});
    m_open->setAccessibleName(m_options.alternateLabel);
    connect(m_open, &QAbstractButton::clicked, this, &EmailComposerView::openInClient);
    footer->addWidget(m_open);
    // The warning fades in and out in the room between the buttons.
    auto* warningBox = new QWidget;
    auto* warningLine = new QHBoxLayout(warningBox);
    warningLine->setContentsMargins(0, 0, 0, 0);
    warningLine->setSpacing(4);
    m_warningIcon = new QLabel;
    m_warningIcon->setPixmap(Symbols::pixmap(QStringLiteral("exclamationmark.triangle.fill"), 11,
                                             ComposerStyle::warning(), devicePixelRatioF()));
    warningLine->addWidget(m_warningIcon);
    m_warning = new ElidedLabel;
    m_warning->setFont(ComposerStyle::font(11));
    QPalette warningInk = m_warning->palette();
    warningInk.setColor(QPalette::WindowText, ComposerStyle::warning());
    m_warning->setPalette(warningInk);
    warningLine->addWidget(m_warning, 1);
    footer->addWidget(warningBox, 1);
    m_warningMotion = new WidgetTransition(warningBox, ComposerMotion::fade, false);
    m_warningIcon->hide();
    m_warning->hide();
    m_cancel =
        new GlassButton({.title = QStringLiteral("Cancelar"), .keyHint = QStringLiteral("esc")});
    m_cancel->setAccessibleName(QStringLiteral("Cancelar"));
    connect(m_cancel, &QAbstractButton::clicked, this, &EmailComposerView::cancel);
    footer->addWidget(m_cancel);
    m_send = new GlassButton({.title = QStringLiteral("Enviar"),
                              .symbol = QStringLiteral("paperplane.fill"),
                              .keyHint = QStringLiteral("Ctrl+⏎"),
                              .prominent = kSendGreen,
                              .symbolFirst = true});
    m_send->setAccessibleName(QStringLiteral("Enviar"));
    connect(m_send, &QAbstractButton::clicked, this, &EmailComposerView::send);
    footer->addWidget(m_send);
    for (GlassButton* b : {m_open, m_cancel, m_send})
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    column->addWidget(footerBox);
    m_pieces.append(bodyWell);
    m_pieces.append(footerBox);
    for (int i = 0; i < m_pieces.size(); ++i)
        m_entrances.append(new WidgetTransition(m_pieces[i], ComposerMotion::entrancePose, false));

    connect(&m_state, &AppState::emailDraftChanged, this, &EmailComposerView::refresh);
    connect(&m_state, &AppState::lastRequestChanged, this, &EmailComposerView::refresh);
    connect(&m_state, &AppState::mailAccountsChanged, this, &EmailComposerView::refreshAccounts);
    refreshAccounts();
    refresh();
}

OriginalEmailView* EmailComposerView::original() const {
    return m_original;
}

void EmailComposerView::refresh() {
    const EmailDraft& d = m_state.emailDraft();
    m_title->setText(EmailComposerModel::title(d));
    const auto request = EmailComposerModel::requestLine(m_state.lastRequest());
    m_request->setText(request.value_or(QString()));
    m_request->setVisible(request.has_value());

    if (d.original && !m_original) {
        m_original = new OriginalEmailView(*d.original);
        m_originalSlot->layout()->addWidget(m_original);
        // One that comes while the card is up fades in.
        auto* arrival = new WidgetTransition(m_original, ComposerMotion::fade, !m_appeared);
        if (m_appeared) arrival->appear(ComposerMotion::spring(ComposerMotion::Change::original));
    } else if (!d.original && m_original) {
        m_original->deleteLater();
        m_original = nullptr;
    }
    m_originalSlot->setVisible(bool(d.original));

    m_to->setRecipients(d.to);
    m_to->setPlaceholder(d.to.empty() ? QStringLiteral("nome ou e-mail") : QString());
    m_cc->setRecipients(d.cc);
    m_cc->setPlaceholder(d.cc.empty() ? QStringLiteral("e-mail") : QString());
    const bool ccRow = EmailComposerModel::showsCcRow(m_askedForCc, d);
    if (ccRow != m_ccMotion->isAppearing()) {
        const SpringSpec spring = ComposerMotion::spring(ComposerMotion::Change::ccRow);
        if (ccRow) {
            m_ccBox->show();
            if (m_appeared)
                m_ccMotion->appear(spring);
            else
                m_ccMotion->jump(true); // a draft that comes with copies shows them at once
        } else {
            m_ccMotion->disappear(spring, [this] { m_ccBox->hide(); });
        }
    }
    m_ccButton->setVisible(!ccRow);

    if (m_subject->text() != d.subject) m_subject->setText(d.subject);
    if (m_body->toPlainText() != d.body) m_body->setPlainText(d.body);

    const auto warning = EmailComposerModel::warning(d);
    // A warning that goes keeps its last words while it fades.
    if (warning) m_warning->setFullText(*warning);
    if (warning.has_value() != m_warningMotion->isAppearing()) {
        const SpringSpec spring = ComposerMotion::spring(ComposerMotion::Change::warning);
        if (warning) {
            m_warningIcon->show();
            m_warning->show();
            if (m_appeared)
                m_warningMotion->appear(spring);
            else
                m_warningMotion->jump(true);
        } else {
            m_warningMotion->disappear(spring, [this] {
                m_warningIcon->hide();
                m_warning->hide();
            });
        }
    }
    m_send->setEnabled(d.canSend());
}

void EmailComposerView::refreshAccounts() {
    const auto sender = EmailComposerModel::sender(m_state.mailAccounts());
    m_senderPicker->clear();
    for (const QString& value : sender.options)
        m_senderPicker->addItem(EmailComposerModel::senderOptionTitle(value), value);
    m_senderPicker->setCurrentIndex(
        std::max(0, int(sender.options.indexOf(m_state.emailDraft().from))));
    m_senderPicker->setVisible(sender.picker);
    m_senderText->setText(sender.text);
    m_senderText->setVisible(!sender.picker);
}

void EmailComposerView::addRecipient() {
    const auto r = EmailComposerModel::entered(m_to->entry()->text());
    if (!r) return; // blanks stay in the field
    m_to->entry()->clear();
    EmailDraft d = m_state.emailDraft();
    d.to.push_back(*r);
    m_state.setEmailDraft(d);
    if (!r->isValid())
        detach(lookUp(QPointer<AppState>(&m_state), m_options.lookup, *r),
               QStringLiteral("procurar o e-mail de um destinatário"));
}

void EmailComposerView::addCopyRecipient() {
    const auto r = EmailComposerModel::entered(m_cc->entry()->text());
    m_cc->entry()->clear();
    if (!r) return;
    EmailDraft d = m_state.emailDraft();
    d.cc.push_back(*r);
    m_state.setEmailDraft(d);
}

void EmailComposerView::takeFocus() {
    const EmailDraft& d = m_state.emailDraft();
    if (d.to.empty()) {
        m_to->entry()->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (RecipientChip* chip : m_to->chips() + m_cc->chips())
        if (!chip->recipient().isValid()) {
            chip->addressField()->setFocus(Qt::OtherFocusReason);
            return;
        }
    m_body->setFocus(Qt::OtherFocusReason);
}

bool EmailComposerView::keysAccepted() const {
    return !m_options.keysAccepted || m_options.keysAccepted();
}

void EmailComposerView::send() {
    if (!m_state.emailDraft().canSend()) return;
    m_options.controller().resolveConfirmation(true);
}

void EmailComposerView::cancel() {
    m_options.controller().resolveConfirmation(false);
}

void EmailComposerView::openInClient() {
    m_options.controller().resolveAlternate();
}

void EmailComposerView::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (m_appeared) return;
    m_appeared = true;
    // The pieces rise into place one after another.
    for (int i = 0; i < m_entrances.size(); ++i) {
        const auto timing = ComposerMotion::entrance(i);
        m_entrances[i]->appear(timing.spring, timing.delay);
    }
}

void EmailComposerView::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        if (keysAccepted()) cancel();
        return;
    }
    if (isReturn(e)) {
        // Return finishes a field; only Ctrl+Return sends.
        if ((e->modifiers() & Qt::ControlModifier) && keysAccepted()) {
            // A field being typed in is finished first, so what it holds is sent.
            if (QWidget* f = focusWidget()) f->clearFocus();
            send();
        }
        return;
    }
    QWidget::keyPressEvent(e);
}

} // namespace nolvea
