#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

// A page's title block: the big title and its explanation under it.
class StepHeader : public QWidget {
    Q_OBJECT

public:
    StepHeader(const QString& title, const QString& subtitle, QWidget* parent = nullptr);

    QLabel* titleLabel() const { return m_title; }
    QLabel* subtitleLabel() const { return m_subtitle; }

private:
    QLabel* m_title;
    QLabel* m_subtitle;
};

} // namespace nolvea
