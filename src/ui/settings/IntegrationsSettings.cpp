#include "ui/settings/IntegrationsSettings.h"

#include "mcp/MCPManager.h"
#include "ui/components/Brand.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsSwitch.h"
#include "ui/components/SettingsText.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/GoogleSetupCard.h"
#include "ui/settings/IntegrationsModel.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

namespace nolvea {

IntegrationsSettings::IntegrationsSettings()
    : IntegrationsSettings(MCPManager::shared()) {}

IntegrationsSettings::IntegrationsSettings(MCPManager& manager, QWidget* parent)
    : QWidget(parent)
    , m_manager(manager) {
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(22);

    auto* actions = new QWidget;
    auto* ah = new QHBoxLayout(actions);
    ah->setContentsMargins(0, 0, 0, 0);
    ah->setSpacing(8);
    auto* reload = SiteButton::small(QStringLiteral("Recarregar"));
    connect(reload, &QAbstractButton::clicked, this, [this] { m_manager.reload(); });
    auto* open = SiteButton::small(QStringLiteral("Abrir mcp.json"));
    connect(open, &QAbstractButton::clicked, this, &IntegrationsSettings::openConfig);
    ah->addWidget(reload);
    ah->addWidget(open);
    ah->addStretch(1);
    stack->addWidget(actions);
    m_openError = SettingsText::label({}, SettingsText::systemFont(12), Brand::erro());
    m_openError->setAccessibleName(QStringLiteral("Erro ao abrir o mcp.json"));
    m_openError->setWordWrap(true);
    m_openError->hide();
    stack->addWidget(m_openError);

    m_servers = new SettingsCard(QStringLiteral("Servidores MCP"),
                                 QStringLiteral("Os servidores e suas ferramentas vêm do arquivo "
                                                "mcp.json; o agente usa as ferramentas dos que "
                                                "estão rodando."));
    stack->addWidget(m_servers);
    m_configError = SettingsText::label({}, SettingsText::systemFont(12), Brand::erro());
    m_configError->setAccessibleName(QStringLiteral("Erro do mcp.json"));
    stack->addWidget(m_configError);
    stack->addWidget(new GoogleSetupCard(manager));

    connect(&manager, &MCPManager::serversChanged, this, &IntegrationsSettings::rebuild);
    connect(&manager, &MCPManager::configErrorChanged, this, &IntegrationsSettings::rebuild);
    connect(&manager, &MCPManager::toolsChanged, this, &IntegrationsSettings::rebuild);
    rebuild();
}

void IntegrationsSettings::openConfig() {
    // With no file to open there is nothing to show but why.
    const auto error = m_manager.ensureConfigExists();
    m_openError->setText(error ? error->message() : QString());
    m_openError->setVisible(error.has_value());
    if (!error) QDesktopServices::openUrl(QUrl::fromLocalFile(m_manager.configPath()));
}

void IntegrationsSettings::rebuild() {
    QLayout* content = m_servers->contentLayout();
    while (QLayoutItem* item = content->takeAt(0)) {
        // The switch or button pressed may be among them.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();
        }
        delete item;
    }
    const auto& error = m_manager.configError();
    m_configError->setText(error ? error->message() : QString());
    m_configError->setVisible(error.has_value());

    const auto& servers = m_manager.servers();
    if (servers.empty()) {
        m_servers->add(SettingsText::label(QStringLiteral("Nenhum servidor no mcp.json."),
                                           SettingsText::systemFont(12), Brand::suave()));
        return;
    }
    for (size_t i = 0; i < servers.size(); ++i) {
        const auto& server = servers[i];
        const QString name = server.name;
        auto* controls = new QWidget;
        auto* ch = new QHBoxLayout(controls);
        ch->setContentsMargins(0, 0, 0, 0);
        ch->setSpacing(8);
        if (!server.tools.empty()) {
            const bool open = m_expanded.contains(name);
            auto* more = SiteButton::small(open ? QStringLiteral("Ocultar ferramentas")
                                                : QStringLiteral("Ver ferramentas"),
                                           SiteKit::Kind::quiet);
            more->setAccessibleDescription(name);
            connect(more, &QAbstractButton::clicked, this, [this, name] {
                if (!m_expanded.remove(name)) m_expanded.insert(name);
                rebuild();
            });
            ch->addWidget(more);
        }
        auto* on = new SettingsSwitch;
        on->setChecked(!server.config.isDisabled());
        on->setAccessibleName(QStringLiteral("Ligar ") + name);
        connect(on, &SettingsSwitch::toggled, this,
                [this, name](bool enabled) { m_manager.setDisabled(name, !enabled); });
        ch->addWidget(on);
        auto* row = new SettingRow(name, IntegrationsModel::stateText(server), controls);
        if (server.state.kind == MCPManager::ServerState::Kind::failed) {
            QPalette p = row->detailLabel()->palette();
            p.setColor(QPalette::WindowText, Brand::erro());
            row->detailLabel()->setPalette(p);
        }
        m_servers->add(row);
        if (m_expanded.contains(name)) {
            auto* list = new QWidget;
            auto* lv = new QVBoxLayout(list);
            lv->setContentsMargins(12, 0, 0, 0);
            lv->setSpacing(6);
            for (const auto& tool : server.tools) {
                auto* t = SettingsText::label(
                    tool.name, SettingsText::systemFont(12, QFont::DemiBold, true), Brand::tinta());
                t->setAccessibleName(tool.name);
                lv->addWidget(t);
                if (!tool.description.isEmpty())
                    lv->addWidget(SettingsText::label(
                        tool.description, SettingsText::systemFont(11), Brand::suave()));
            }
            m_servers->add(list);
        }
        if (i + 1 < servers.size()) m_servers->addDivider();
    }
}

} // namespace nolvea
