#pragma once

#include <QWidget>

class QLabel;

namespace nolvea {

// The "Sobre" pane: the brand, the version and build, the update row and how Nolvea runs here.
class AboutSettings : public QWidget {
    Q_OBJECT

public:
    explicit AboutSettings(QWidget* parent = nullptr);

private:
    void showModel();

    QLabel* m_modelLine = nullptr;
};

} // namespace nolvea
