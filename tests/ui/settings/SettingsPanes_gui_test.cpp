#include "core/AppSettings.h"
#include "mcp/MCPManager.h"
#include "speech/TTSServer.h"
#include "support/fakes/ManualClock.h"
#include "system/LoginItem.h"
#include "ui/animation/FrameClock.h"
#include "ui/animation/MotionEffect.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsCard.h"
#include "ui/components/SettingsSwitch.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/AboutSettings.h"
#include "ui/settings/GeneralSettings.h"
#include "ui/settings/GoogleSetupCard.h"
#include "ui/settings/SettingsView.h"
#include "ui/settings/VocabularySettings.h"
#include "ui/settings/VoiceCardModel.h"
#include "ui/settings/VoiceSettingsCard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

TEST(GeneralPane, ASwitchThatCouldNotRegisterFallsBackWithoutRunningAgain) {
    // The autostart folder cannot be made: a file sits where it goes.
    const QString folder = QFileInfo(LoginItem::defaultEntryPath()).absolutePath();
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).absolutePath());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    GeneralSettings pane;
    SettingsSwitch* toggle = pane.launchAtLoginSwitch();
    QSignalSpy toggled(toggle, &SettingsSwitch::toggled);
    EXPECT_FALSE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked()) << "back to what the session has";
    EXPECT_EQ(toggled.count(), 1);
    QFile::remove(folder);
}

TEST(GeneralPane, EveryControlWritesItsSettingAtOnce) {
    AppSettings& s = AppSettings::shared();
    s.setPlaySounds(true);
    s.setUserName(QString());
    GeneralSettings pane;
    for (auto* row : pane.findChildren<SettingRow*>()) {
        if (row->title() == "Sons de feedback") QTest::mouseClick(row->trailing(), Qt::LeftButton);
        if (row->title() == "Seu nome") QTest::keyClicks(row->trailing(), "Ana");
    }
    EXPECT_FALSE(s.playSounds());
    EXPECT_EQ(s.userName(), "Ana");
    s.setPlaySounds(true);
}

TEST(VocabularyPane, AddsFromTheFieldAndRemovesChips) {
    AppSettings& s = AppSettings::shared();
    s.setVocabulary({});
    VocabularySettings pane;
    pane.show();
    EXPECT_FALSE(pane.emptyLabel()->isHidden());
    EXPECT_FALSE(pane.addButton()->isEnabled());
    QTest::keyClicks(pane.field(), "  \t");
    EXPECT_FALSE(pane.addButton()->isEnabled());
    QTest::keyClick(pane.field(), Qt::Key_Return);
    EXPECT_TRUE(s.vocabulary().isEmpty());

    pane.field()->clear();
    QTest::keyClicks(pane.field(), " Tesmiro ");
    QTest::keyClick(pane.field(), Qt::Key_Return);
    EXPECT_EQ(s.vocabulary(), QStringList{"Tesmiro"});
    EXPECT_TRUE(pane.field()->text().isEmpty());
    QTest::keyClicks(pane.field(), "Tesmiro");
    QTest::mouseClick(pane.addButton(), Qt::LeftButton);
    EXPECT_EQ(s.vocabulary(), QStringList{"Tesmiro"});
    EXPECT_EQ(pane.field()->text(), "Tesmiro") << "a repeat keeps the field";
    EXPECT_TRUE(pane.emptyLabel()->isHidden());

    QAbstractButton* remove = nullptr;
    for (auto* b : pane.chips()->findChildren<QAbstractButton*>())
        if (b->accessibleName() == "Remover Tesmiro") remove = b;
    ASSERT_NE(remove, nullptr);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_TRUE(s.vocabulary().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !pane.emptyLabel()->isHidden(); }, 5000));
}

TEST(VocabularyPane, ChipsGrowInAndShrinkAwayWhereTheyStood) {
    ManualClock clock;
    Clock::install(&clock);
    FrameClock::shared().setReduceMotion(false);
    const auto run = [&](int ms) {
        for (int t = 0; t < ms; t += FrameClock::kIntervalMs)
            clock.advance(std::chrono::milliseconds(FrameClock::kIntervalMs));
        QCoreApplication::processEvents();
    };
    const auto pose = [](QWidget* chip) {
        auto* effect = qobject_cast<MotionEffect*>(chip->graphicsEffect());
        return effect ? effect->pose() : MotionPose{};
    };
    AppSettings& s = AppSettings::shared();
    s.setVocabulary({"Kubernetes", "Tesmiro"});
    {
        VocabularySettings pane;
        pane.resize(500, 300);
        // Chips that are there when the pane opens are simply there.
        for (QWidget* chip : pane.chipWidgets())
            EXPECT_EQ(chip->graphicsEffect(), nullptr);
        pane.show();
        QWidget* kept = pane.chipWidgets()[0];

        s.setVocabulary({"Kubernetes", "Tesmiro", "Olvandro"});
        ASSERT_EQ(pane.chipWidgets().size(), 3);
        EXPECT_EQ(pane.chipWidgets()[0], kept) << "a chip that stays is the same chip";
        QWidget* added = pane.chipWidgets()[2];
        EXPECT_EQ(pose(added).scale, 0);
        EXPECT_EQ(pose(added).opacity, 0);
        run(68);
        EXPECT_GT(pose(added).scale, 0);
        EXPECT_LT(pose(added).opacity, 1);
        run(1500);
        EXPECT_EQ(added->graphicsEffect(), nullptr) << "at rest";

        // A removed word's chip shrinks where it stood, taking no clicks, while the rest move.
        QWidget* removed = pane.chipWidgets()[1];
        const QRect where = removed->geometry();
        s.setVocabulary({"Kubernetes", "Olvandro"});
        EXPECT_EQ(pane.chipWidgets(), (QList<QWidget*>{kept, added}));
        ASSERT_EQ(pane.leavingChips(), QList<QWidget*>{removed});
        EXPECT_TRUE(removed->testAttribute(Qt::WA_TransparentForMouseEvents));
        run(68);
        EXPECT_EQ(removed->geometry(), where);
        EXPECT_LT(pose(removed).scale, 1);
        EXPECT_GT(pose(removed).opacity, 0);
        run(1500);
        EXPECT_TRUE(pane.leavingChips().isEmpty());
        EXPECT_TRUE(removed->isHidden());

        // The last chip leaves before the flow makes way for the empty text.
        s.setVocabulary({});
        EXPECT_FALSE(pane.emptyLabel()->isHidden());
        EXPECT_FALSE(pane.chips()->isHidden());
        run(1500);
        EXPECT_TRUE(pane.chips()->isHidden());

        // Reduced motion: in and out at once.
        FrameClock::shared().setReduceMotion(true);
        s.setVocabulary({"Vornel"});
        EXPECT_EQ(pane.chipWidgets()[0]->graphicsEffect(), nullptr);
        s.setVocabulary({});
        EXPECT_TRUE(pane.leavingChips().isEmpty());
        EXPECT_TRUE(pane.chips()->isHidden());
        FrameClock::shared().setReduceMotion(false);
    }
    Clock::install(nullptr);
}

TEST(SettingsWindowView, APaneShownAgainStartsFresh) {
    SettingsView view;
    EXPECT_EQ(view.section(), SettingsSection::general);
    view.setSection(SettingsSection::vocabulary);
    auto* vocabulary = qobject_cast<VocabularySettings*>(view.pane());
    ASSERT_NE(vocabulary, nullptr);
    vocabulary->field()->setText("meio digitado");
    view.setSection(SettingsSection::about);
    view.setSection(SettingsSection::vocabulary);
    vocabulary = qobject_cast<VocabularySettings*>(view.pane());
    ASSERT_NE(vocabulary, nullptr);
    EXPECT_TRUE(vocabulary->field()->text().isEmpty());
    // Light whatever the desktop's theme.
    EXPECT_GT(view.palette().color(QPalette::Window).lightness(), 200);
    for (SettingsSection s : SettingsSections::allCases())
        delete SettingsView::previewSection(s);
}

// The ink of a symbol's pixmap: the colour of its most opaque pixel.
QColor inkOf(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    QColor best(Qt::transparent);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor c = image.pixelColor(x, y); c.alpha() > best.alpha()) best = c;
    return best;
}

TEST(SettingsWindowView, TheSelectedRowsSymbolStandsOutOfTheSelection) {
    SettingsView view;
    QListWidget* sidebar = view.sidebar();
    const QColor selection = sidebar->palette().color(QPalette::Highlight);
    const QColor selectedText = sidebar->palette().color(QPalette::HighlightedText);
    ASSERT_NE(selection.rgb(), selectedText.rgb());
    for (int row = 0; row < sidebar->count(); ++row) {
        SCOPED_TRACE(sidebar->item(row)->text().toStdString());
        const QIcon icon = sidebar->item(row)->icon();
        EXPECT_EQ(inkOf(icon.pixmap(16, QIcon::Normal)).rgb(), selection.rgb());
        EXPECT_EQ(inkOf(icon.pixmap(16, QIcon::Selected)).rgb(), selectedText.rgb());
    }
}

TEST(AboutPane, TheModelLineFollowsTheAIPane) {
    AppSettings& s = AppSettings::shared();
    s.setAiProvider(AIProvider::ollama);
    s.setModel("qwen3:8b");
    AboutSettings pane;
    auto lines = [&] {
        QStringList out;
        for (auto* l : pane.findChildren<QLabel*>())
            out << l->text();
        return out;
    };
    EXPECT_TRUE(lines().contains("IA: Ollama · qwen3:8b"));
    s.setModel("llama3");
    EXPECT_TRUE(lines().contains("IA: Ollama · llama3"));
    EXPECT_FALSE(lines().filter(QRegularExpression("^Versão .+ \\(\\d+\\) · ")).isEmpty());
    s.setAiProvider(AIProvider::lmStudio);
}

TEST(GoogleCard, ASaveThatCouldNotWriteSaysSo) {
    QTemporaryDir dir;
    const QString path = dir.filePath("mcp.json");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ isto não é json");
    f.close();
    MCPManager manager(path);
    GoogleSetupCard card(manager);
    card.show();
    QTest::keyClicks(card.emailField(), "ana@gmail.com");
    QTest::keyClicks(card.clientIDField(), "1.apps.googleusercontent.com");
    QTest::keyClicks(card.secretField(), "GOCSPX-12345");
    ASSERT_TRUE(card.saveButton()->isEnabled());
    QTest::mouseClick(card.saveButton(), Qt::LeftButton);
    EXPECT_FALSE(card.missingLabel()->isHidden());
    EXPECT_FALSE(card.missingLabel()->text().isEmpty());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "{ isto não é json") << "an unreadable file is left as it is";
}

TEST(SettingsCard, TextsFromOutsideAreNeverMarkup) {
    SettingsCard card(QStringLiteral("<b>servidor</b>"), QStringLiteral("<i>nota</i>"));
    SettingRow row(QStringLiteral("<u>x</u>"), QStringLiteral("<a href='x'>y</a>"), nullptr);
    for (QLabel* l : card.findChildren<QLabel*>() + row.findChildren<QLabel*>())
        EXPECT_EQ(l->textFormat(), Qt::PlainText) << l->text().toStdString();
    EXPECT_EQ(card.footer(), "<i>nota</i>");
    EXPECT_EQ(SettingsCard().footer(), std::nullopt);
}

TEST(VoiceCard, StatusTextsAndSpeedSteps) {
    using S = TTSServer::Status;
    EXPECT_EQ(VoiceCardModel::ttsStatusText(S::ready()), "Servidor de voz pronto (porta 8766)");
    EXPECT_EQ(VoiceCardModel::ttsStatusText(S::failed("uvx sumiu")), "uvx sumiu");
    EXPECT_EQ(VoiceCardModel::ttsConnection(S::failed("x")), AIConnection::offline);
    EXPECT_EQ(VoiceCardModel::ttsConnection(S::starting()), AIConnection::checking);
    EXPECT_EQ(VoiceCardModel::rateStep(0.5), 0);
    EXPECT_EQ(VoiceCardModel::rateStep(9), 12);
    EXPECT_DOUBLE_EQ(VoiceCardModel::rateAt(5), 1.05);
    EXPECT_DOUBLE_EQ(VoiceCardModel::rateAt(99), 1.4);
    EXPECT_EQ(VoiceCardModel::systemVoiceTitle(VoiceEngine::apple), "Voz");
}

TEST(VoiceCard, TheNeuralRowsFollowTheEngine) {
    AppSettings& s = AppSettings::shared();
    s.setVoiceEngine(VoiceEngine::apple);
    TTSServer::Options options;
    options.program = QStringLiteral("/nonexistent/uvx");
    options.port = 1;
    options.maxPolls = 1;
    TTSServer server(options);
    VoiceSettingsCard card(s, server);
    card.show();
    auto rowTitled = [&](const QString& title) -> SettingRow* {
        for (auto* r : card.findChildren<SettingRow*>())
            if (r->title() == title) return r;
        return nullptr;
    };
    ASSERT_NE(rowTitled("Voz neural"), nullptr);
    EXPECT_FALSE(rowTitled("Voz neural")->isVisibleTo(&card));
    EXPECT_NE(rowTitled("Voz"), nullptr);
    EXPECT_EQ(server.status().kind(), TTSServer::Status::Kind::stopped) << "no server for apple";
    s.setVoiceEngine(VoiceEngine::neural);
    EXPECT_TRUE(rowTitled("Voz neural")->isVisibleTo(&card));
    EXPECT_NE(rowTitled("Voz do macOS (reserva)"), nullptr);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.status().kind() == TTSServer::Status::Kind::failed; }, 5000));
    QStringList texts;
    for (auto* l : card.findChildren<QLabel*>())
        texts << l->text();
    EXPECT_TRUE(texts.contains(server.status().message())) << "the failure as the status line";
    s.setVoiceEngine(VoiceEngine::apple);
}

TEST(VoiceCard, AFailedWarmUpIsTriedAgain) {
    AppSettings& s = AppSettings::shared();
    TTSServer::Options options;
    options.program = QStringLiteral("/nonexistent/uvx");
    options.port = 1; // nothing answers there
    options.maxPolls = 1;
    options.pollInterval = Clock::Duration(1);
    TTSServer server(options);
    s.setVoiceEngine(VoiceEngine::apple);
    EXPECT_FALSE(VoiceCardModel::warmIfNeeded(s, server)) << "the system voice needs no server";
    s.setVoiceEngine(VoiceEngine::neural);
    s.setSpeakAnswers(false);
    EXPECT_TRUE(VoiceCardModel::warmIfNeeded(s, server)) << "also with answers not spoken";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.status().kind() == TTSServer::Status::Kind::failed; }, 5000));
    EXPECT_TRUE(server.warmed().empty());
    EXPECT_TRUE(VoiceCardModel::warmIfNeeded(s, server)) << "the voice is still cold";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return server.status().kind() == TTSServer::Status::Kind::failed; }, 5000));
    s.setVoiceEngine(VoiceEngine::apple);
    s.setSpeakAnswers(true);
}

} // namespace
