#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "support/AtspiTree.h"
#include "support/TestEnvironment.h"
#include "system/LoginItem.h"
#include "ui/components/SettingsSwitch.h"
#include "ui/menubar/MenuBarView.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/SettingsView.h"
#include "ui/windows/WindowManager.h"
#include "updates/Updater.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

using namespace nolvea;
using Section = SettingsSection;

namespace {

// Before the application starts: its widgets are then published on the accessibility bus,
// as for a person with a screen reader.
const bool kAccessibilityOn = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

QString screenshotPath(const QString& name) {
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR) + QStringLiteral("/screenshots");
    QDir().mkpath(dir);
    return dir + u'/' + name + QStringLiteral(".png");
}

// The elements a screen reader finds once all of `names` are among them (the bridge
// publishes a new pane a moment after it is shown), or what it found after five seconds.
QStringList readerSees(const QStringList& names) {
    QStringList seen;
    QTest::qWaitFor(
        [&] {
            seen = test::atspiElements(QCoreApplication::applicationPid());
            return std::all_of(names.begin(), names.end(), [&](const QString& n) {
                return !seen.filter(u"|"_qs + n).isEmpty();
            });
        },
        5000);
    return seen;
}

// Closes a window and waits until it is gone.
void closeAndWait(QWidget* window) {
    QPointer<QWidget> closing(window);
    window->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return closing.isNull(); }, 5000));
}

// The settings window opened as the application opens it, one per test.
class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        WindowManager::shared().show(WindowManager::Kind::settings);
        window = WindowManager::shared().window(WindowManager::Kind::settings);
        ASSERT_NE(window, nullptr);
        view = window->findChild<SettingsView*>();
        ASSERT_NE(view, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override {
        if (window) closeAndWait(window);
    }

    void choose(Section section) {
        auto* list = view->findChild<QListWidget*>();
        const QRect r = list->visualItemRect(list->item(int(section)));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        // The new pane at rest, its switch over.
        EXPECT_TRUE(QTest::qWaitFor([&] { return view->transition() == nullptr; }, 5000));
    }

    QWidget* window = nullptr;
    SettingsView* view = nullptr;
};

TEST_F(SettingsWindowTest, EverySectionIsShownFromTheSidebarAndKeptAsAScreenshot) {
    EXPECT_EQ(view->section(), Section::general);
    AppSettings::shared().setVocabulary({"Kubernetes", "Tesmiro", "LM Studio", "Olvandro",
                                         "<b>marcação</b>", "PostgreSQL", "Falantorix", "SIGTERM",
                                         "Vornel", "mcp.json"});
    for (Section s : SettingsSections::allCases()) {
        choose(s);
        EXPECT_EQ(view->section(), s);
        ASSERT_NE(view->pane(), nullptr);
        EXPECT_TRUE(view->pane()->isVisible()) << SettingsSections::rawValue(s).toStdString();
        const QPixmap shot = window->grab();
        EXPECT_TRUE(
            shot.save(screenshotPath(QStringLiteral("settings-") + SettingsSections::rawValue(s))));
        // The whole pane, also what lies below the fold.
        const QString name = QStringLiteral("settings-") + SettingsSections::rawValue(s) + "-pane";
        EXPECT_TRUE(view->pane()->parentWidget()->grab().save(screenshotPath(name)));
    }
    AppSettings::shared().setVocabulary({});
    // The chosen row again changes nothing.
    QWidget* pane = view->pane();
    choose(Section::about);
    EXPECT_EQ(view->pane(), pane);
}

TEST_F(SettingsWindowTest, TheAIPaneOfAnAccountProviderShowsTheAccountRow) {
    AppSettings::shared().setAiProvider(AIProvider::claudeAccount);
    choose(Section::ai);
    const QStringList seen = readerSees({"Precisa do Claude Code instalado neste Mac"});
    EXPECT_GT(seen.filter(u"|Verificar de novo"_qs).size(), 0);
    EXPECT_TRUE(view->pane()->parentWidget()->grab().save(
        screenshotPath(QStringLiteral("settings-ai-account-pane"))));
    AppSettings::shared().setAiProvider(AIProvider::lmStudio);
}

TEST_F(SettingsWindowTest, AScreenReaderReadsTheSectionsAndThePaneControls) {
    const QStringList titles{"Geral", "IA", "Vocabulário", "Agente", "Integrações", "Sobre"};
    const QStringList controls{
        "Seu nome",         "Tecla para falar",        "Idioma da fala",
        "Sons de feedback", "Abrir ao iniciar sessão", "Histórico na borda esquerda"};
    const QStringList general = readerSees(titles + controls);
    for (const QString& title : titles)
        EXPECT_GT(general.filter(u"list item|"_qs + title).size(), 0) << title.toStdString();
    for (const QString& control : controls)
        EXPECT_GT(general.filter(u"|"_qs + control).size(), 0) << control.toStdString();

    choose(Section::vocabulary);
    const QStringList vocabulary = readerSees({"Adicionar", "Nova palavra"});
    EXPECT_GT(vocabulary.filter(u"|Adicionar"_qs).size(), 0);
    EXPECT_GT(vocabulary.filter(u"|Nova palavra"_qs).size(), 0);
    EXPECT_EQ(vocabulary.filter(u"|Seu nome"_qs).size(), 0) << "the old pane is gone";
}

TEST_F(SettingsWindowTest, LaunchAtLoginWritesAndRemovesTheAutostartEntry) {
    auto* general = qobject_cast<GeneralSettings*>(view->pane());
    ASSERT_NE(general, nullptr);
    SettingsSwitch* toggle = general->launchAtLoginSwitch();
    const QString entry = LoginItem::defaultEntryPath();
    EXPECT_FALSE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(entry));
    EXPECT_TRUE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_FALSE(toggle->isChecked());
}

TEST(SettingsWindowFromTheTray, TheFooterOpensOneWindowAndBringsItBack) {
    AppState state;
    HistoryStore history(test::home() + QStringLiteral("/tray-history.json"));
    MenuBarView tray(
        MenuBarView::Sources{state, AppSettings::shared(), Permissions::shared(),
                             AIStatus::shared(), history, Updater::shared()},
        MenuBarActions{
            {}, [] { WindowManager::shared().show(WindowManager::Kind::settings); }, {}, {}});
    tray.show();
    QAbstractButton* open = nullptr;
    for (auto* b : tray.findChildren<QAbstractButton*>())
        if (b->accessibleName() == "Ajustes") open = b;
    ASSERT_NE(open, nullptr);
    open->click();
    QWidget* window = WindowManager::shared().window(WindowManager::Kind::settings);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    auto* view = window->findChild<SettingsView*>();
    ASSERT_NE(view, nullptr);
    view->setSection(Section::agent);
    open->click();
    EXPECT_EQ(WindowManager::shared().window(WindowManager::Kind::settings), window);
    EXPECT_EQ(view->section(), Section::agent) << "the open window keeps its section";
    closeAndWait(window);
    open->click();
    QWidget* again = WindowManager::shared().window(WindowManager::Kind::settings);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->findChild<SettingsView*>()->section(), Section::general);
    closeAndWait(again);
}

} // namespace
