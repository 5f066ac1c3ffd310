#pragma once

#include "core/EmailSummary.h"
#include "ui/animation/SpringValue.h"

#include <QWidget>

class QLabel;

namespace nolvea {

class FrameDriver;

// The message being answered, quoted read-only: sender, date, subject and the start of its
// text, two lines of it folded and eight unfolded by a click anywhere on it.
class OriginalEmailView : public QWidget {
    Q_OBJECT

public:
    explicit OriginalEmailView(const EmailSummary& email, QWidget* parent = nullptr);

    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    QLabel* snippet() const { return m_snippet; }
    // How many lines of the snippet show once it has unfolded or folded.
    int snippetLines() const { return m_expanded ? 8 : 2; }
    // How many show now, on the way there.
    double shownLines() const { return m_lines.value(); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void cut();

    bool m_expanded = false;
    SpringValue m_lines{2};
    FrameDriver* m_driver;
    QLabel* m_snippet;
};

} // namespace nolvea
