#pragma once

#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class QVBoxLayout;

namespace nolvea {

// A titled card of a settings pane: a bold heading, the rounded sheet holding the rows 14
// apart inside 16 of padding, and a small grey note under it.
class SettingsCard : public QWidget {
    Q_OBJECT

public:
    explicit SettingsCard(std::optional<QString> title = std::nullopt,
                          std::optional<QString> footer = std::nullopt, QWidget* parent = nullptr);

    // Adds a row (or any view) at the end of the card's content.
    void add(QWidget* content);
    // Adds a rule between rows.
    void addDivider();
    QVBoxLayout* contentLayout() const { return m_content; }

    // The note changes with the state of some panes; nothing hides it.
    void setFooter(const std::optional<QString>& footer);
    std::optional<QString> footer() const;
    QLabel* titleLabel() const { return m_title; }

private:
    QLabel* m_title = nullptr;
    QLabel* m_footer = nullptr;
    QVBoxLayout* m_content = nullptr;
};

} // namespace nolvea
