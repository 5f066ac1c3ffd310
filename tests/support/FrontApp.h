#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QRect>
#include <QString>

#include <memory>

namespace nolvea::test {

// Another application on the test display (tests/helpers/front_app.cpp): one window with a
// text field, accessible through AT-SPI. Every call waits for the program's answer while
// running this process's event loop, so our clipboard is served meanwhile.
class FrontApp {
public:
    struct Options {
        QString windowClass = QStringLiteral("NolveaFrontApp");
        QString title = QStringLiteral("Janela de teste");
        QString color = QStringLiteral("#20a040");
        QRect geometry{100, 100, 400, 200};
        QString iconColor = {}; // a window icon of this colour, 32 and 64 pixels; none when empty
    };

    explicit FrontApp(const Options& options);
    FrontApp();
    ~FrontApp();

    // Whether the window came up on screen.
    bool isReady() const { return m_pid != 0; }
    qint32 pid() const { return m_pid; }
    quint64 windowId() const { return m_window; }

    // Gives the window the keyboard focus and the field the caret.
    void focus();
    QString text();
    void setText(const QString& text);
    void select(int start, int length);
    void setCaret(int position);
    // The X11 key symbols of the keys pressed in the window since the last call.
    QList<quint32> keysPressed();
    // Puts these formats on the clipboard, owned by the other program.
    void setClipboard(const QList<QPair<QString, QByteArray>>& formats);

private:
    QByteArray command(const QByteArray& line);

    std::unique_ptr<QProcess> m_process;
    QByteArray m_output;
    qint32 m_pid = 0;
    quint64 m_window = 0;
};

} // namespace nolvea::test
