#pragma once

#include <QWidget>

namespace nolvea {

// Every tool the agent can use now, one card per group, marking those that ask before acting.
// Read-only; lists the tools afresh each time it is made.
class AgentToolsCard : public QWidget {
    Q_OBJECT

public:
    explicit AgentToolsCard(QWidget* parent = nullptr);
};

} // namespace nolvea
