#pragma once

#include <QWidget>

class QHBoxLayout;

namespace nolvea {

class Updater;

// The updater's state in one line with at most one button: look, retry or install.
class UpdateRow : public QWidget {
    Q_OBJECT

public:
    explicit UpdateRow(Updater& updater, QWidget* parent = nullptr);

private:
    void rebuild();

    Updater& m_updater;
    QHBoxLayout* m_row;
};

} // namespace nolvea
