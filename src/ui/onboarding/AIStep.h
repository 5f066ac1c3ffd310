#pragma once

#include "ui/onboarding/AIStepModel.h"
#include "ui/onboarding/OnboardingPage.h"

#include <QPointer>
#include <qcoro/qcorotask.h>

#include <optional>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace nolvea {

class AIStatus;
class AppSettings;
class Badge;
class FamilyTile;
class FrameDriver;
class MorphingLabel;
class ReplaceTransition;
class OnboardingSymbolLabel;
class StatusDot;
class SiteButton;
class UserDefaults;

// "Escolha a IA": family, provider and what it needs, the live connection line and a one-phrase
// clean-up test. On screen it asks the three local server kinds for their models at once.
class AIStep : public OnboardingPage {
    Q_OBJECT

public:
    AIStep(AppSettings& settings, AIStatus& status, UserDefaults& defaults,
           QWidget* parent = nullptr);
    ~AIStep() override;

    bool isScanning() const { return m_scanning; }
    const AIStepModel::Detected& detected() const { return m_detected; }
    std::optional<QString> testResult() const { return m_testResult; }
    bool testFailed() const { return m_testFailed; }
    QString statusTitle() const;
    const QList<FamilyTile*>& tiles() const { return m_tiles; }
    // How far the found dot of a chip of the chosen family has faded in (0 to 1).
    double chipFoundShown(AIProvider provider) const;
    // The card's cross-fade to another provider, the search's to the count of servers found,
    // and the test line's blur from one state to the next.
    ReplaceTransition& providerChange() const { return *m_providerChange; }
    ReplaceTransition& serversChange() const { return *m_serversChange; }
    ReplaceTransition& outcomeChange() const { return *m_outcomeChange; }
    // The connection line's title, whose words morph from one state to the next.
    const MorphingLabel& statusLine() const { return *m_statusTitle; }

    void choose(AIStepModel::Family family);
    // A provider chosen by the person (a chip or a tile).
    void select(AIProvider provider);
    void test();

Q_SIGNALS:
    void scanFinished();
    void testFinished();

protected:
    void appear() override;
    void disappear() override;

private:
    void setProvider(AIProvider provider);
    QCoro::Task<> scan();
    QCoro::Task<> runTest(quint64 run);
    void render();
    void buildChips();
    void buildFields();
    void buildModelControl();
    void pickModelIfNeeded();

    AppSettings& m_settings;
    AIStatus& m_status;
    UserDefaults& m_defaults;
    AIStepModel::Detected m_detected;
    bool m_scanning = true;
    bool m_testing = false;
    std::optional<QString> m_testResult;
    bool m_testFailed = false;
    quint64 m_scanRun = 0;
    quint64 m_testRun = 0;
    quint64 m_choices = 0; // providers the person chose; an automatic switch yields to them

    QList<FamilyTile*> m_tiles;
    QHBoxLayout* m_chipRow;
    QWidget* m_indicator;
    QWidget* m_chips = nullptr;
    QLabel* m_searching;
    Badge* m_found;
    QLabel* m_note;
    QVBoxLayout* m_fieldsLayout;
    QWidget* m_fields = nullptr;
    QHBoxLayout* m_modelSlot = nullptr;
    QWidget* m_modelControl = nullptr;
    QLabel* m_modelDetail = nullptr;
    StatusDot* m_dot;
    MorphingLabel* m_statusTitle;
    SiteButton* m_retry;
    SiteButton* m_testButton;
    QLabel* m_progress;
    OnboardingSymbolLabel* m_result;
    ReplaceTransition* m_providerChange;
    ReplaceTransition* m_serversChange;
    ReplaceTransition* m_outcomeChange;
    QString m_outcome; // what the test line shows, to see when it changes
};

} // namespace nolvea
