#pragma once

#include "core/EmailRecipient.h"

#include <QHash>
#include <QWidget>

#include <vector>

class QLineEdit;

namespace nolvea {

class FlowLayout;
class RecipientChip;
class WidgetTransition;

// One recipient list as chips that wrap like words, followed by the field that adds to it.
// The chips are kept by identity, so a chip being typed in survives a change of the list.
class RecipientField : public QWidget {
    Q_OBJECT

public:
    // `entryName`: the accessible name of the adding field.
    explicit RecipientField(const QString& entryName, QWidget* parent = nullptr);

    void setRecipients(const std::vector<EmailRecipient>& recipients);
    void setPlaceholder(const QString& text);

    QLineEdit* entry() const { return m_entry; }
    QList<RecipientChip*> chips() const;
    // Chips of removed recipients still shrinking away.
    QList<RecipientChip*> leavingChips() const { return m_leaving; }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

Q_SIGNALS:
    // The adding field was finished (Return, Tab or leaving it) with this text.
    void entryFinished(const QString& text);
    void removeRequested(const QUuid& id);
    void addressFinished(const QUuid& id, const QString& address);

private:
    void leave(RecipientChip* chip);

    FlowLayout* m_flow;
    QLineEdit* m_entry;
    QHash<QUuid, RecipientChip*> m_chips;
    std::vector<QUuid> m_order;
    QList<RecipientChip*> m_leaving;
    QHash<RecipientChip*, WidgetTransition*> m_motions;
    bool m_populated = false;
};

} // namespace nolvea
