// The tray window over the real shared objects: its cards come and go with their data, its
// toggles write the settings at once, a recent row copies its text, the update card goes
// away when pressed, and nothing spills past the window's width.
#include "ai/AIStatus.h"
#include "core/AppSettings.h"
#include "core/AppState.h"
#include "core/HistoryStore.h"
#include "core/Permissions.h"
#include "platform/PermissionProbe.h"
#include "support/Async.h"
#include "support/LoopbackServer.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/ReplaceTransition.h"
#include "ui/menubar/MenuBarHeaderBox.h"
#include "ui/menubar/MenuBarModel.h"
#include "ui/menubar/MenuBarView.h"
#include "ui/menubar/RecentRow.h"
#include "updates/Updater.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

struct Probe : PermissionProbe {
    QSet<int> granted;
    QList<PermissionKind> asked;
    bool isGranted(PermissionKind k) override { return granted.contains(int(k)); }
    bool requestAccessibility() override {
        asked << PermissionKind::accessibility;
        return false;
    }
    bool requestInputMonitoring() override {
        asked << PermissionKind::inputMonitoring;
        return false;
    }
    bool openSettings(PermissionKind) override { return false; }
};

class MenuBarViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(test::home() + "/menubar");
        QFile::remove(historyPath());
        history = std::make_unique<HistoryStore>(historyPath());
        UpdaterSetup setup;
        setup.siteURL = QUrl(site.url("/nolvea"));
        setup.version = "1.0";
        setup.build = 10;
        updater = std::make_unique<Updater>(setup);
        permissions = std::make_unique<Permissions>(probe);
        settings.setAiCleanupEnabled(true);
        settings.setAgentEnabled(false);
        settings.setPlaySounds(true);
        settings.setHotkey(HotkeyChoice::rightCommand);
        view = std::make_unique<MenuBarView>(
            MenuBarView::Sources{state, settings, *permissions, ai, *history, *updater},
            MenuBarActions{{}, [this] { ++settingsOpened; }, {}, [this] { ++quits; }});
        view->adjustSize();
        view->show();
    }
    void TearDown() override {
        view.reset();
        history->flush();
    }
    static QString historyPath() { return test::home() + "/menubar/history.json"; }

    QAbstractButton* button(const QString& accessibleName) const {
        for (auto* b : view->findChildren<QAbstractButton*>())
            if (b->accessibleName() == accessibleName && b->isVisibleTo(view.get())) return b;
        return nullptr;
    }
    QStringList labels() const {
        QStringList out;
        for (auto* l : view->findChildren<QLabel*>())
            if (l->isVisibleTo(view.get()) && !l->text().isEmpty())
                out << (l->accessibleName().isEmpty() ? l->text() : l->accessibleName());
        return out;
    }
    QList<RecentRow*> recentRows() const {
        QList<RecentRow*> out;
        for (auto* r : view->findChildren<RecentRow*>())
            if (r->isVisibleTo(view.get())) out << r;
        return out;
    }
    void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        view->adjustSize();
    }

    AppState state;
    AppSettings& settings = AppSettings::shared();
    std::shared_ptr<Probe> probe = std::make_shared<Probe>();
    std::unique_ptr<Permissions> permissions;
    AIStatus ai;
    std::unique_ptr<HistoryStore> history;
    test::LoopbackServer site;
    std::unique_ptr<Updater> updater;
    std::unique_ptr<MenuBarView> view;
    int settingsOpened = 0;
    int quits = 0;
};

TEST_F(MenuBarViewTest, EverythingFitsTheFixedWidth) {
    probe->granted = {};
    permissions->refresh();
    history->add(HistoryEntry::make(HistoryEntry::Kind::agent, "App", "t",
                                    QString("uma resposta bem comprida ").repeated(20)));
    settings.setModel(QString("um-modelo-de-nome-muito-comprido-").repeated(6));
    settle();
    EXPECT_EQ(view->width(), MenuBarModel::kWidth);
    for (QWidget* w : view->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(view.get())) continue;
        const QRect inView(w->mapTo(view.get(), QPoint()), w->size());
        EXPECT_LE(inView.right(), view->width() - 1)
            << w->metaObject()->className() << " " << w->accessibleName().toStdString();
    }
    for (const QString& name : {"Histórico", "Ajustes", "Demo", "Sair"})
        EXPECT_NE(button(name), nullptr) << name.toStdString();
}

TEST_F(MenuBarViewTest, HeaderFollowsTheStage) {
    EXPECT_TRUE(labels().contains("Pronto · segure ⌘ Command direito"));
    state.setMode(VoiceMode::agent);
    state.setStage(AppState::Stage::listening);
    EXPECT_TRUE(labels().contains("Ouvindo o pedido…"));
    state.setStatusText("Pensando…");
    state.setStage(AppState::Stage::processing);
    EXPECT_TRUE(labels().contains("Pensando…"));
    settings.setHotkey(HotkeyChoice::fn);
    state.setStage(AppState::Stage::idle);
    EXPECT_TRUE(labels().contains("Pronto · segure Fn / 🌐"));
}

TEST_F(MenuBarViewTest, TheHeaderGrowsToALongerStatusWithTheSpring) {
    FrameClock::shared().setReduceMotion(false);
    MenuBarHeaderBox* header = view->header();
    settle();
    const int oneLine = header->height();
    const int viewBefore = view->height();

    state.setStatusText("Transcrevendo o áudio com o modelo local, isto pode levar alguns "
                        "segundos na primeira vez");
    state.setStage(AppState::Stage::processing);
    QCoreApplication::processEvents();
    const int target = header->targetHeight();
    ASSERT_GT(target, oneLine) << "the long status takes more lines";
    EXPECT_TRUE(header->isResizing());
    EXPECT_LT(header->currentHeight(), target) << "not there at once";
    // On its way it passes through the heights between.
    EXPECT_TRUE(test::spinUntil(
        [&] {
            return header->currentHeight() > oneLine + 1 && header->currentHeight() < target - 1;
        },
        3000));
    ASSERT_TRUE(test::spinUntil([&] { return !header->isResizing(); }, 3000));
    settle();
    EXPECT_EQ(header->height(), target);
    EXPECT_EQ(view->height(), viewBefore + target - oneLine) << "the window grows with it";
    EXPECT_EQ(header->content()->height(), target);

    // Back to one line, and under reduced motion at once.
    FrameClock::shared().setReduceMotion(true);
    state.setStage(AppState::Stage::idle);
    QCoreApplication::processEvents();
    EXPECT_FALSE(header->isResizing());
    EXPECT_EQ(header->targetHeight(), oneLine);
    FrameClock::shared().setReduceMotion(false);
}

TEST_F(MenuBarViewTest, StatusLineCrossFadesToTheNextAndToggleSymbolsSwap) {
    ReplaceTransition* change = view->statusChange();
    state.setStage(AppState::Stage::listening);
    EXPECT_EQ(view->statusLine()->text(), "Ouvindo…") << "the new text at once";
    QWidget* old = change->leaving();
    ASSERT_NE(old, nullptr) << "the old text fades where it was";
    EXPECT_EQ(old->geometry(), view->statusLine()->geometry());
    EXPECT_TRUE(test::spinUntil([&] { return change->leaving() == nullptr; }, 3000));
    EXPECT_FALSE(change->isRunning());
    state.setStatusText("Ouvindo…"); // no new text, nothing to fade
    state.setStage(AppState::Stage::listening);
    EXPECT_EQ(change->leaving(), nullptr);

    // A switch flipped swaps its symbol's colour with the replace transition.
    QAbstractButton* sounds = button("Sons");
    ASSERT_NE(sounds, nullptr);
    const auto pictures = [&] {
        int n = 0;
        for (QWidget* w : view->findChildren<QWidget*>())
            if (w->testAttribute(Qt::WA_TransparentForMouseEvents) && !qobject_cast<QLabel*>(w) &&
                w->isVisible() && QString(w->metaObject()->className()) == "QWidget")
                ++n;
        return n;
    };
    const int before = pictures();
    sounds->click();
    EXPECT_EQ(pictures(), before + 1);
    EXPECT_TRUE(test::spinUntil([&] { return pictures() == before; }, 3000));
}

TEST_F(MenuBarViewTest, TogglesWriteTheSettingsAtOnceAndFollowThem) {
    QAbstractButton* sounds = button("Sons");
    QAbstractButton* agent = button("Modo agente (+ ⌃)");
    QAbstractButton* cleanup = button("Refinar com IA");
    ASSERT_TRUE(sounds && agent && cleanup);
    EXPECT_TRUE(sounds->isChecked());
    EXPECT_FALSE(agent->isChecked());
    sounds->click();
    EXPECT_FALSE(settings.playSounds());
    agent->click();
    EXPECT_TRUE(settings.agentEnabled());
    cleanup->click();
    EXPECT_FALSE(settings.aiCleanupEnabled());
    settings.setPlaySounds(true); // changed elsewhere (the settings window)
    EXPECT_TRUE(sounds->isChecked());
}

TEST_F(MenuBarViewTest, RecentCardShowsTheThreeNewestAndCopies) {
    EXPECT_FALSE(labels().contains("Recentes"));
    history->add(HistoryEntry::make(HistoryEntry::Kind::dictation, "App", "t", ""));
    settle();
    EXPECT_TRUE(labels().contains("Recentes"));
    ASSERT_EQ(recentRows().size(), 1);
    QGuiApplication::clipboard()->setText("antes");
    recentRows()[0]->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "") << "an empty output copies as empty";

    for (int i = 1; i <= 9; ++i)
        history->add(HistoryEntry::make(HistoryEntry::Kind::dictation, "App", "t",
                                        "resultado " + QString::number(i)));
    settle();
    const auto rows = recentRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0]->output(), "resultado 9");
    EXPECT_EQ(rows[2]->output(), "resultado 7");
    rows[1]->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "resultado 8");
    EXPECT_EQ(history->entries().size(), 10) << "copying leaves the history as it is";
    history->clear();
    settle();
    EXPECT_FALSE(labels().contains("Recentes"));
}

TEST_F(MenuBarViewTest, PermissionsCardListsWhatIsMissing) {
    probe->granted = {int(PermissionKind::microphone), int(PermissionKind::inputMonitoring)};
    permissions->refresh();
    settle();
    EXPECT_TRUE(labels().contains("Faltam permissões"));
    EXPECT_TRUE(labels().contains("Acessibilidade"));
    EXPECT_FALSE(labels().contains("Microfone"));
    QAbstractButton* allow = button("Permitir Acessibilidade");
    ASSERT_NE(allow, nullptr);
    allow->click();
    EXPECT_EQ(probe->asked, QList<PermissionKind>{PermissionKind::accessibility});
    probe->granted.insert(int(PermissionKind::accessibility));
    permissions->refresh();
    settle();
    EXPECT_FALSE(labels().contains("Faltam permissões"));
}

TEST_F(MenuBarViewTest, UpdateCardGoesAwayWhenPressed) {
    EXPECT_EQ(button("Atualizar para a versão 2.0"), nullptr);
    site.on("GET", "/nolvea/downloads/latest.json",
            test::HttpResponse::json(R"({"version":"2.0","build":11,)"
                                     R"("url":"http://127.0.0.1:1/Nolvea.zip",)"
                                     R"("sha256":"aa","signature":"bb"})"));
    test::await(updater->check(false));
    settle();
    EXPECT_TRUE(labels().contains("Versão 2.0 disponível"));
    EXPECT_TRUE(labels().contains("Melhorias e correções"));
    QAbstractButton* install = button("Atualizar para a versão 2.0");
    ASSERT_NE(install, nullptr);
    install->click();
    settle();
    EXPECT_FALSE(labels().contains("Versão 2.0 disponível"));
}

TEST_F(MenuBarViewTest, TheFooterFitsWithEveryPlaceReachable) {
    // Every action there, as in the running application and the preview.
    view = std::make_unique<MenuBarView>(
        MenuBarView::Sources{state, settings, *permissions, ai, *history, *updater},
        MenuBarActions{[] {}, [] {}, [] {}, [] {}});
    view->show();
    settle();
    // Squeezed as the preview squeezes it, too.
    for (const int height : {view->sizeHint().height(), 460}) {
        view->resize(MenuBarModel::kWidth, height);
        QCoreApplication::processEvents();
        QList<QRect> buttons;
        for (const QString& name : {"Histórico", "Ajustes", "Demo", "Sair"}) {
            QAbstractButton* b = button(name);
            ASSERT_NE(b, nullptr) << name.toStdString();
            EXPECT_TRUE(b->isEnabled()) << name.toStdString();
            const QRect r(b->mapTo(view.get(), QPoint()), b->size());
            EXPECT_GE(r.width(), b->sizeHint().width()) << name.toStdString() << " is cut";
            EXPECT_LE(r.right(), view->width() - 14) << name.toStdString();
            for (const QRect& before : buttons)
                EXPECT_FALSE(r.intersects(before)) << name.toStdString() << " overlaps";
            buttons << r;
        }
        // The column is padded 14 on each side, once.
        EXPECT_EQ(buttons.front().left(), 14);
        EXPECT_EQ(buttons.back().right(), MenuBarModel::kWidth - 14 - 1);
    }
}

TEST_F(MenuBarViewTest, FooterLeadsWhereItCan) {
    EXPECT_FALSE(button("Histórico")->isEnabled());
    EXPECT_FALSE(button("Demo")->isEnabled());
    EXPECT_TRUE(button("Histórico")->toolTip().contains("ainda não disponível"));
    button("Ajustes")->click();
    EXPECT_EQ(settingsOpened, 1);
    button("Sair")->click();
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(button("Sair")->toolTip(), "Sair da Nolvea");
}

} // namespace
