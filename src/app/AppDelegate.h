#pragma once

#include <QObject>
#include <QStringList>

namespace nolvea {

// Wires the long-lived services when the application has started and stops the child
// processes when it quits. Main thread.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr);

    // The hotkey starts listening, the model monitor and the update checks run, the MCP
    // servers start and the neural voice warms up when answers are spoken with it.
    void applicationDidFinishLaunching();
    // Ends the MCP servers and the speech server.
    void applicationWillTerminate();
};

} // namespace nolvea
