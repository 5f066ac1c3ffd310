#include "ui/composer/RecipientField.h"

#include "ui/animation/WidgetTransition.h"
#include "ui/components/FlowLayout.h"
#include "ui/composer/ComposerMotion.h"
#include "ui/composer/ComposerStyle.h"
#include "ui/composer/RecipientChip.h"

#include <QLineEdit>

namespace nolvea {

RecipientField::RecipientField(const QString& entryName, QWidget* parent)
    : QWidget(parent) {
    m_flow = new FlowLayout(6, this);
    m_entry = new QLineEdit(this);
    ComposerStyle::plainField(m_entry, 12);
    m_entry->setAccessibleName(entryName);
    m_entry->setFixedWidth(110); // room for its placeholder; the flow measures it so
    m_entry->setFixedHeight(26);
    connect(m_entry, &QLineEdit::editingFinished, this,
            [this] { Q_EMIT entryFinished(m_entry->text()); });
    m_flow->addWidget(m_entry);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void RecipientField::leave(RecipientChip* chip) {
    // It shrinks and fades where it stood while the others close up; nothing of it takes
    // clicks meanwhile. Its remove button may be the one whose click brought us here, so it
    // is deleted later.
    m_flow->removeWidget(chip);
    chip->setAttribute(Qt::WA_TransparentForMouseEvents);
    chip->lower();
    m_leaving.append(chip);
    WidgetTransition* motion = m_motions.take(chip);
    const auto gone = [this, chip] {
        m_leaving.removeAll(chip);
        chip->hide();
        chip->deleteLater();
    };
    motion->disappear(ComposerMotion::spring(ComposerMotion::Change::recipients), gone);
}

int RecipientField::heightForWidth(int width) const {
    return m_flow->heightForWidth(width);
}

QList<RecipientChip*> RecipientField::chips() const {
    QList<RecipientChip*> out;
    for (const QUuid& id : m_order)
        out.append(m_chips.value(id));
    return out;
}

void RecipientField::setPlaceholder(const QString& text) {
    m_entry->setPlaceholderText(text);
}

void RecipientField::setRecipients(const std::vector<EmailRecipient>& recipients) {
    std::vector<QUuid> order;
    for (const EmailRecipient& r : recipients)
        order.push_back(r.id);
    for (const EmailRecipient& r : recipients) {
        if (RecipientChip* chip = m_chips.value(r.id)) {
            chip->setRecipient(r);
            continue;
        }
        auto* chip = new RecipientChip(r, this);
        connect(chip, &RecipientChip::removeRequested, this, &RecipientField::removeRequested);
        connect(chip, &RecipientChip::addressFinished, this, &RecipientField::addressFinished);
        m_chips.insert(r.id, chip);
        // The chips the list starts with are simply there; later ones pop in.
        auto* motion = new WidgetTransition(chip, ComposerMotion::chipPose, !m_populated);
        m_motions.insert(chip, motion);
        if (m_populated) motion->appear(ComposerMotion::spring(ComposerMotion::Change::recipients));
    }
    m_populated = true;
    for (auto it = m_chips.begin(); it != m_chips.end();) {
        if (std::find(order.begin(), order.end(), it.key()) == order.end()) {
            leave(it.value());
            it = m_chips.erase(it);
        } else {
            ++it;
        }
    }
    if (order != m_order) {
        while (QLayoutItem* item = m_flow->takeAt(0))
            delete item;
        for (const QUuid& id : order)
            m_flow->addWidget(m_chips.value(id));
        m_flow->addWidget(m_entry);
        m_order = std::move(order);
    }
    updateGeometry();
}

} // namespace nolvea
