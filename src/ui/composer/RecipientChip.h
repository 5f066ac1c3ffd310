#pragma once

#include "core/EmailRecipient.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QToolButton;

namespace nolvea {

class ReplaceTransition;
class WidthMotion;

// One recipient as a token: initials, name, and its address as text, as a choice among the
// contact's addresses, or as a field to complete. The field's text is the person's until
// they finish it (Return, Tab or leaving it); only then is it handed on, so a half-typed
// address never reaches the draft. A shown address can be clicked to edit it again.
class RecipientChip : public QWidget {
    Q_OBJECT

public:
    explicit RecipientChip(EmailRecipient recipient, QWidget* parent = nullptr);

    const EmailRecipient& recipient() const { return m_recipient; }
    // Shows `r`; a field being typed in keeps its text.
    void setRecipient(const EmailRecipient& r);

    QLabel* avatar() const { return m_avatar; }
    QLabel* nameLabel() const { return m_name; }
    QToolButton* addressButton() const { return m_address; }
    // Another address taking the place of the shown one: the two cross-fade as the width
    // follows.
    ReplaceTransition& addressChange() const { return *m_addressChange; }
    WidthMotion& addressWidth() const { return *m_addressWidth; }
    QLineEdit* addressField() const { return m_field; }
    QToolButton* removeButton() const { return m_remove; }

Q_SIGNALS:
    void removeRequested(const QUuid& id);
    void addressFinished(const QUuid& id, const QString& address);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void refresh();
    void finishEditing();

    EmailRecipient m_recipient;
    bool m_editing = false; // asked to edit a shown address again
    QLabel* m_avatar;
    QLabel* m_name;
    QToolButton* m_address;
    ReplaceTransition* m_addressChange;
    WidthMotion* m_addressWidth;
    QLineEdit* m_field;
    QToolButton* m_remove;
};

} // namespace nolvea
