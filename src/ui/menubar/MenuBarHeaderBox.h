#pragma once

#include "ui/animation/SpringValue.h"

#include <QWidget>

namespace nolvea {

class FrameDriver;

// Holds the tray window's header and follows its height with a spring: a status that takes
// another line grows the header, and the window under it, instead of jumping.
class MenuBarHeaderBox : public QWidget {
public:
    explicit MenuBarHeaderBox(QWidget* content, QWidget* parent = nullptr);

    QWidget* content() const { return m_content; }
    // The height the box has now, and the one it is heading for.
    double currentHeight() const { return m_height.value(); }
    int targetHeight() const;
    bool isResizing() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return false; }

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void follow();
    void place();
    int naturalHeight(int width) const;

    QWidget* m_content;
    FrameDriver* m_driver;
    SpringValue m_height;
    int m_lastHeight = -1;
};

} // namespace nolvea
