#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class ShakeEffect;

// The outcome: a check or an exclamation mark and the result line; an error shakes each
// time one more happens.
class PillResultContent : public QWidget {
    Q_OBJECT

public:
    PillResultContent(AppState& state, bool failed, QWidget* parent = nullptr);

    QLabel* text() const { return m_text; }
    void setResult(const QString& symbol, const QString& text);

private:
    AppState& m_state;
    bool m_failed;
    QLabel* m_mark;
    QLabel* m_text;
    ShakeEffect* m_shake = nullptr;
};

} // namespace nolvea
