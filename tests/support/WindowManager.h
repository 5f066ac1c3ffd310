#pragma once

#include <QByteArray>
#include <QProcess>

namespace nolvea::test {

// Openbox on the test display for one scope. Whatever it leaves on the root window is removed
// afterwards, so that the next test finds a bare display again.
class WindowManager {
public:
    WindowManager();
    ~WindowManager();
    bool isRunning() const { return m_running; }

    // The root window's property as xprop prints it.
    static QByteArray rootProperty(const char* name);

private:
    QProcess m_process;
    bool m_running = false;
};

} // namespace nolvea::test
