#pragma once

#include <QWidget>

namespace nolvea {

// The "Agente" pane: agent mode and confirmations, then the voice card and the tools.
class AgentSettings : public QWidget {
    Q_OBJECT

public:
    explicit AgentSettings(QWidget* parent = nullptr);
};

} // namespace nolvea
