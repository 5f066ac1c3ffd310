#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

class AppState;

// A finished agent action: a success badge (a paper plane for an e-mail), the status text and
// the request that led to it.
class NotchResultCard : public QWidget {
    Q_OBJECT

public:
    explicit NotchResultCard(AppState& state, QWidget* parent = nullptr);

    QLabel* status() const { return m_status; }
    QLabel* request() const { return m_request; }
    bool showsPlane() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void refresh();

    AppState& m_state;
    QLabel* m_status;
    QLabel* m_request;
};

} // namespace nolvea
