#pragma once

#include <QHash>
#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;

namespace nolvea {

class FlowLayout;
class SiteButton;

// The "Vocabulário" pane: rare words and names, added from a field and shown as removable
// chips.
class VocabularySettings : public QWidget {
    Q_OBJECT

public:
    explicit VocabularySettings(QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    SiteButton* addButton() const { return m_add; }
    QWidget* chips() const { return m_chips; }
    QLabel* emptyLabel() const { return m_empty; }
    // The chips in the list's order, and those of removed words on their way out.
    QList<QWidget*> chipWidgets() const;
    QList<QWidget*> leavingChips() const { return m_leaving; }

    void add();

private:
    void rebuildChips();
    void leave(QWidget* chip, bool animated);

    QLineEdit* m_field;
    SiteButton* m_add;
    QLabel* m_empty;
    QWidget* m_chips;
    FlowLayout* m_flow;
    QHash<QString, QWidget*> m_chipByWord;
    QList<QWidget*> m_leaving;
};

} // namespace nolvea
