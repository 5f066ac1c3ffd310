#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;
class Bounce;
class ShakeEffect;

// The outcome: a check or an exclamation mark and the result line; an error shakes each
// time one more happens.
class PillResultContent : public QWidget {
    Q_OBJECT

public:
    PillResultContent(AppState& state, bool failed, QWidget* parent = nullptr);

    QLabel* text() const { return m_text; }
    void setResult(const QString& symbol, const QString& text);
    Bounce* bounce() const { return m_bounce; }
    ShakeEffect* shake() const { return m_shake; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    AppState& m_state;
    bool m_failed;
    QLabel* m_mark;
    QLabel* m_text;
    ShakeEffect* m_shake = nullptr;
    Bounce* m_bounce;
    bool m_bounced = false;
};

} // namespace nolvea
