#pragma once

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace nolvea {

class AppState;
class GlassButton;
class NotchController;
class NotchField;

// The island under a resting pointer: a pending question of the agent, a field to type a
// request, the four newest history entries (one of them opened in place), and the way to the
// history, the settings and the model connection's state.
class NotchHoverPanel : public QWidget {
    Q_OBJECT

public:
    NotchHoverPanel(AppState& state, NotchController& notch, QWidget* parent = nullptr);

    NotchField* field() const { return m_field; }
    // Why the last typed request was not taken; hidden when none.
    QLabel* problem() const { return m_problem; }

private:
    void submit();
    void rebuildQuestion();
    void rebuildRecent();
    void updatePlaceholder();

    AppState& m_state;
    NotchController& m_notch;
    QWidget* m_question = nullptr;
    NotchField* m_field;
    QLabel* m_problem;
    QWidget* m_recent = nullptr;
    QVBoxLayout* m_column;
    bool m_built = false;
};

} // namespace nolvea
