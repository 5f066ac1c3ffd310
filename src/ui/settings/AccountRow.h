#pragma once

#include "core/AIProvider.h"

#include <QWidget>

#include <functional>

class QHBoxLayout;
class QLabel;

namespace nolvea {

class AccountRowModel;
class SettingRow;

// "Conta": whether the subscription tool is installed and logged in, with install help, the
// browser login and a confirmed logout. `onChange` runs after each login or logout ended.
class AccountRow : public QWidget {
    Q_OBJECT

public:
    AccountRow(AIProvider provider, std::function<void()> onChange, QWidget* parent = nullptr);

    void setProvider(AIProvider provider);
    AccountRowModel& model() const { return *m_model; }

private:
    void render();
    void confirmLogout();

    AccountRowModel* m_model;
    SettingRow* m_row;
    QWidget* m_controls;
    QHBoxLayout* m_controlsLayout;
    QLabel* m_install;
    QLabel* m_error;
};

} // namespace nolvea
