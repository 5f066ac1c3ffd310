#pragma once

#include <QSet>
#include <QWidget>

class QLabel;

namespace nolvea {

class MCPManager;
class SettingsCard;

// The "Integrações" pane: the MCP servers of mcp.json with their state, tools and errors,
// switched on and off in the file, reloaded or opened; then the Google setup card.
class IntegrationsSettings : public QWidget {
    Q_OBJECT

public:
    explicit IntegrationsSettings(MCPManager& manager, QWidget* parent = nullptr);
    IntegrationsSettings();

    const QSet<QString>& expanded() const { return m_expanded; }

private:
    void rebuild();
    // Opens mcp.json, written with the defaults first when there is none.
    void openConfig();

    MCPManager& m_manager;
    QSet<QString> m_expanded;
    SettingsCard* m_servers;
    QLabel* m_configError;
    QLabel* m_openError;
};

} // namespace nolvea
