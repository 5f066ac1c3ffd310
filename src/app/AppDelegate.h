#pragma once

#include <QObject>
#include <QStringList>

namespace nolvea {

// Wires the long-lived services when the application has started and stops the child
// processes when it quits. Main thread.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // `arguments`: the process's, the program path first.
    explicit AppDelegate(QStringList arguments, QObject* parent = nullptr);

    // The launch, in order: the environment, the overlays and the overlay style, the voice
    // controller with its hotkey, the fn-key guard, the permissions, the MCP servers, the
    // neural voice when answers are spoken with it, the model monitor, the update checks, the
    // login item, the history drawer, and the onboarding on a first run or when asked.
    void applicationDidFinishLaunching();
    // Ends the MCP servers (their waiting requests fail at once) and the speech server.
    void applicationWillTerminate();

    // Whether `arguments` ask for the onboarding again.
    static bool asksForOnboarding(const QStringList& arguments);

private:
    // Switches the notch on exactly when the overlay style is notch, and follows every later
    // change of the style on a later turn of the event loop.
    void applyOverlayStyle();
    // Once per user: writes the autostart entry again for this program, if there is one.
    void migrateLoginItem();

    QStringList m_arguments;
};

} // namespace nolvea
