#pragma once

#include "ui/onboarding/OnboardingHost.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

namespace nolvea {

// Opens the two ordinary windows, onboarding and settings: at most one of each, brought to
// the front when already open. While any of them is open the application counts as a regular
// one; when the last closes it goes back to living in the tray.
class WindowManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(
        ActivationPolicy activationPolicy READ activationPolicy NOTIFY activationPolicyChanged)

public:
    enum class Kind { onboarding, settings };
    enum class ActivationPolicy { accessory, regular };
    Q_ENUM(ActivationPolicy)

    struct Spec {
        QString title;
        QSize contentSize;
        QSize minimumSize;
        bool resizable;
    };
    static Spec spec(Kind kind);

    static WindowManager& shared();
    WindowManager();
    ~WindowManager() override;

    // What the onboarding's hotkey test reaches of the running application.
    void setOnboardingHost(OnboardingHost host) { m_onboardingHost = std::move(host); }
    // How the settings' demonstration button starts the demo; none leaves the button off.
    void setRunDemo(std::function<void()> run) { m_runDemo = std::move(run); }
    const std::function<void()>& runDemo() const { return m_runDemo; }

    // Opens the window of `kind`, or brings the open one to the front.
    void show(Kind kind);
    // Forgets the window of `kind`; runs when that window closes.
    void didClose(Kind kind);

    // The open window of `kind`, or none.
    QWidget* window(Kind kind) const;
    ActivationPolicy activationPolicy() const { return m_policy; }

Q_SIGNALS:
    void activationPolicyChanged(ActivationPolicy policy);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* build(Kind kind);
    void setPolicy(ActivationPolicy policy);
    void bringToFront(QWidget* w);

    std::map<Kind, QPointer<QWidget>> m_windows;
    ActivationPolicy m_policy = ActivationPolicy::accessory;
    OnboardingHost m_onboardingHost;
    std::function<void()> m_runDemo;
};

} // namespace nolvea
