#include "ui/composer/RecipientChip.h"

#include "ui/animation/ReplaceTransition.h"
#include "ui/animation/WidthMotion.h"
#include "ui/components/Brand.h"
#include "ui/components/Symbols.h"
#include "ui/composer/ComposerMotion.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/composer/EmailComposerModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace nolvea {

using Part = EmailComposerModel::AddressPart;

RecipientChip::RecipientChip(EmailRecipient recipient, QWidget* parent)
    : QWidget(parent)
    , m_recipient(std::move(recipient)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(3, 3, 8, 3);
    row->setSpacing(6);
    m_avatar = ComposerStyle::label({}, 9, QFont::Bold, Qt::white);
    m_avatar->setFixedSize(20, 20);
    m_avatar->setAlignment(Qt::AlignCenter);
    m_avatar->setStyleSheet(QStringLiteral("QLabel { background: %1; border-radius: 10px; }")
                                .arg(Brand::roxo().name()));
    row->addWidget(m_avatar);
    m_name = ComposerStyle::label({}, 12, QFont::Medium, ComposerStyle::ink());
    row->addWidget(m_name);

    m_address = new QToolButton(this);
    m_address->setAutoRaise(true);
    m_address->setFont(ComposerStyle::font(11));
    m_address->setCursor(Qt::PointingHandCursor);
    m_address->setStyleSheet(
        QStringLiteral("QToolButton { border: none; padding: 0; color: rgba(255,255,255,150); }"
                       "QToolButton::menu-indicator { image: none; }"));
    connect(m_address, &QToolButton::clicked, this, [this] {
        if (m_address->menu()) return;
        m_editing = true;
        refresh();
        m_field->setFocus(Qt::MouseFocusReason);
        m_field->selectAll();
    });
    row->addWidget(m_address);
    const SpringSpec change = ComposerMotion::spring(ComposerMotion::Change::recipients);
    m_addressChange = new ReplaceTransition(m_address, change, ComposerMotion::crossFade);
    m_addressWidth = new WidthMotion(m_address, change);
    m_addressWidth->setCompanion([this] { return m_addressChange->leaving(); });

    m_field = new QLineEdit(this);
    ComposerStyle::plainField(m_field, 11);
    m_field->setPlaceholderText(QStringLiteral("e-mail"));
    m_field->setFixedWidth(130);
    connect(m_field, &QLineEdit::editingFinished, this, &RecipientChip::finishEditing);
    row->addWidget(m_field);

    m_remove = new QToolButton(this);
    m_remove->setAutoRaise(true);
    m_remove->setIcon(Symbols::icon(QStringLiteral("xmark"), ComposerStyle::ink(0.6)));
    m_remove->setIconSize({8, 8});
    m_remove->setCursor(Qt::PointingHandCursor);
    m_remove->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
    connect(m_remove, &QToolButton::clicked, this,
            [this] { Q_EMIT removeRequested(m_recipient.id); });
    row->addWidget(m_remove);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    refresh();
}

void RecipientChip::setRecipient(const EmailRecipient& r) {
    if (r == m_recipient) return;
    m_recipient = r;
    refresh();
}

void RecipientChip::finishEditing() {
    if (!m_field->isVisible()) return;
    const QString typed = m_field->text().trimmed();
    m_editing = false;
    if (typed != m_recipient.address) Q_EMIT addressFinished(m_recipient.id, typed);
    refresh();
}

void RecipientChip::refresh() {
    const EmailRecipient& r = m_recipient;
    const QString label = r.name.isEmpty() ? r.address : r.name;
    setAccessibleName(label.isEmpty() ? QStringLiteral("Destinatário") : label);
    const QString initials = EmailComposerModel::initials(r);
    m_avatar->setText(initials.isEmpty() ? QStringLiteral("@") : initials);
    m_avatar->setAccessibleName(QStringLiteral("Iniciais ") + m_avatar->text());
    m_name->setText(r.name);
    m_name->setVisible(!r.name.isEmpty());

    const Part part = m_editing ? Part::entry : EmailComposerModel::addressPart(r);
    const bool shown = m_address->isVisible();
    m_address->setVisible(part != Part::entry);
    m_field->setVisible(part == Part::entry);
    const QString text = part == Part::choice ? r.address + QStringLiteral(" ▾") : r.address;
    if (text != m_address->text()) {
        // Only a shown address gives way to another; one coming from the field just shows.
        if (shown && part != Part::entry) {
            m_addressWidth->change([&] {
                m_addressChange->aboutToChange();
                m_address->setText(text);
            });
        } else {
            m_address->setText(text);
        }
    }
    if (part == Part::choice) {
        auto* menu = new QMenu(m_address);
        for (const QString& a : r.alternatives)
            menu->addAction(a, this, [this, a] { Q_EMIT addressFinished(m_recipient.id, a); });
        QMenu* old = m_address->menu();
        m_address->setMenu(menu);
        m_address->setPopupMode(QToolButton::InstantPopup);
        m_address->setAccessibleName(QStringLiteral("Escolher e-mail de ") + label);
        if (old) old->deleteLater();
    } else {
        if (QMenu* old = m_address->menu()) {
            m_address->setMenu(nullptr);
            old->deleteLater();
        }
        m_address->setAccessibleName(QStringLiteral("Editar e-mail de ") + label);
    }
    // Text being typed is the person's: a new value of the draft does not replace it.
    if (part == Part::entry && !m_field->hasFocus()) m_field->setText(r.address);
    m_field->setAccessibleName(QStringLiteral("E-mail de ") + label);
    m_remove->setAccessibleName(QStringLiteral("Remover ") + label);
    adjustSize();
    updateGeometry();
    update();
}

void RecipientChip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath capsule;
    capsule.addRoundedRect(r, r.height() / 2, r.height() / 2);
    p.fillPath(capsule, ComposerStyle::ink(0.08));
    if (!m_recipient.isValid()) {
        p.setPen(QPen(ComposerStyle::warning(0.8), 1));
        p.drawPath(capsule);
    }
}

} // namespace nolvea
