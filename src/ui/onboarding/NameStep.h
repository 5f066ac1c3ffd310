#pragma once

#include "ui/onboarding/OnboardingPage.h"

#include <functional>

class QLabel;
class QLineEdit;

namespace nolvea {

class AppSettings;

// "Como você quer ser chamado?": the field writes the name on every keystroke and the bubble
// under it shows how the assistant will greet the person.
class NameStep : public OnboardingPage {
    Q_OBJECT

public:
    NameStep(AppSettings& settings, std::function<void()> onSubmit, QWidget* parent = nullptr);
    ~NameStep() override;

    QLineEdit* field() const { return m_field; }
    QString greeting() const;
    // How far the field's frame has turned to its focused look (0…1).
    double fieldFocus() const { return m_fieldFocus(); }

protected:
    void appear() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void render();

    AppSettings& m_settings;
    std::function<void()> m_onSubmit;
    QLineEdit* m_field;
    QLabel* m_greeting;
    std::function<double()> m_fieldFocus;
};

} // namespace nolvea
