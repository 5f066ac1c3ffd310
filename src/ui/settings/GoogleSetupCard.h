#pragma once

#include "ui/components/SettingsCard.h"

#include <QSet>

class QLabel;
class QLineEdit;
class QToolButton;
class QAbstractButton;

namespace nolvea {

class MCPManager;
class SiteButton;

// Sets up the Google Workspace MCP server: the person's own OAuth client, the account and the
// services it offers as tools, read back from the "google" entry of mcp.json once per card.
class GoogleSetupCard : public SettingsCard {
    Q_OBJECT

public:
    explicit GoogleSetupCard(MCPManager& manager, QWidget* parent = nullptr);

    QLineEdit* emailField() const { return m_email; }
    QLineEdit* clientIDField() const { return m_clientID; }
    QLineEdit* secretField() const { return m_secret; }
    SiteButton* saveButton() const { return m_save; }
    QLabel* missingLabel() const { return m_missing; }
    QLabel* estimateLabel() const { return m_estimate; }
    const QSet<QString>& selected() const { return m_selected; }
    void toggleService(const QString& id);

    void load();
    void save();
    void importJSON();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QWidget* stepsBox();
    QWidget* servicesGrid();
    void showInstalled();
    void showForm();

    MCPManager& m_manager;
    QSet<QString> m_selected;
    bool m_loaded = false;
    std::optional<QString> m_importError;
    std::optional<QString> m_saveError;
    QWidget* m_header;
    QLabel* m_headerText;
    QWidget* m_headerDivider;
    QLabel* m_importInfo;
    QLineEdit* m_email;
    QLineEdit* m_clientID;
    QLineEdit* m_secret;
    QList<QAbstractButton*> m_tiles;
    QLabel* m_speed;
    QLabel* m_estimate;
    QLabel* m_missing;
    SiteButton* m_save;
};

} // namespace nolvea
