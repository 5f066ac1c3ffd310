#pragma once

#include <QWidget>

namespace nolvea {

// The settings window's root. It reads the shared settings, status and stores itself.
class SettingsView : public QWidget {
    Q_OBJECT

public:
    enum class Section { general };

    explicit SettingsView(QWidget* parent = nullptr);

    Section section() const { return m_section; }

private:
    Section m_section = Section::general;
};

} // namespace nolvea
