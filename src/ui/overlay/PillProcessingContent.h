#pragma once

#include <QWidget>

namespace nolvea {

class AppState;
class BrandMark;
class ReplaceTransition;
class ShimmerText;

// While the request is worked on: the busy mark and the shimmering status.
class PillProcessingContent : public QWidget {
    Q_OBJECT

public:
    explicit PillProcessingContent(AppState& state, QWidget* parent = nullptr);

    ShimmerText* status() const { return m_status; }
    // Shows `text` as the status line.
    void setStatus(const QString& text);
    ReplaceTransition* statusTransition() const { return m_replace; }

private:
    AppState& m_state;
    BrandMark* m_mark;
    ShimmerText* m_status;
    ReplaceTransition* m_replace;
};

} // namespace nolvea
