// The island's rules without a display: where it sits, its outline, what it shows by stage,
// its ears, the cards' words and the recent entries.
#include "ui/notch/NotchEars.h"
#include "ui/notch/NotchGeometry.h"
#include "ui/notch/NotchModel.h"
#include "ui/notch/NotchPresentation.h"
#include "ui/notch/NotchShape.h"
#include "ui/notch/NotchTexts.h"
#include "ui/notch/RecentEntries.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace nolvea;
using Stage = AppState::Stage;
using Kind = NotchPresentation::Kind;

TEST(NotchGeometry, measuresTheNotchOrFallsBackToTheMainScreen) {
    const QRect wide(0, 0, 1512, 982), side(1512, 0, 1920, 1080);
    struct Case {
        const char* name;
        QList<NotchScreen> screens;
        NotchGeometry expected;
    };
    const Case cases[] = {
        {"notched screen among others, whichever is main",
         {{side, side.adjusted(0, 30, 0, 0), 0, 0, 0, true},
          {wide, wide.adjusted(0, 38, 0, 0), 38, 650, 650, false}},
         {QSize(212, 38), true, wide}},
        {"notched screen without side areas",
         {{wide, wide, 32, 0, 0, true}},
         {QSize(1512, 32), true, wide}},
        {"side areas cover the screen",
         {{wide, wide, 32, 800, 800, true}},
         {QSize(200, 32), true, wide}},
        {"no notch, 30 px top panel on the main screen",
         {{wide, wide, 0, 0, 0, false}, {side, side.adjusted(0, 30, 0, 0), 0, 0, 0, true}},
         {QSize(190, 30), false, side}},
        {"no notch, no top panel", {{side, side, 0, 0, 0, true}}, {QSize(190, 24), false, side}},
        {"no main screen: the first",
         {{side, side.adjusted(0, 26, 0, 0), 0, 0, 0, false}},
         {QSize(190, 26), false, side}},
        {"no screen at all", {}, {QSize(190, 24), false, QRect(0, 0, 1440, 900)}},
    };
    for (const Case& c : cases) {
        const NotchGeometry g = NotchGeometry::measure(c.screens);
        EXPECT_EQ(g.notchSize, c.expected.notchSize) << c.name;
        EXPECT_EQ(g.hasHardwareNotch, c.expected.hasHardwareNotch) << c.name;
        EXPECT_EQ(g.screenFrame, c.expected.screenFrame) << c.name;
    }
}

TEST(NotchGeometry, islandZoneAndPanelHangFromTheTopCentre) {
    const NotchGeometry g{QSize(200, 32), false, QRect(1920, 0, 1920, 1080)};
    EXPECT_EQ(g.islandRect({0, 0}), QRect(2780, 0, 200, 32)); // unmeasured: the notch
    EXPECT_EQ(g.islandRect({470, 120}), QRect(2645, 0, 470, 120));
    EXPECT_EQ(g.hoverZone({0, 0}), QRect(2768, -16, 224, 64));
    EXPECT_EQ(g.panelFrame(), QRect(2500, 0, 760, 560));
}

TEST(NotchShape, radiiAreCappedByTheIslandAndNeverNegative) {
    struct Case {
        QRectF rect;
        double top, bottom;
        NotchShape::Radii expected;
    };
    const Case cases[] = {
        {{0, 0, 200, 32}, 8, 13, {8, 13}},
        {{0, 0, 100, 20}, 8, 28, {8, 10}},
        {{0, 0, 20, 40}, 8, 13, {5, 5}},
        {{0, 0, 200, 4}, 8, 13, {8, 0}}, // flatter than the shoulder
        {{0, 0, 0, 0}, 8, 13, {0, 0}},
    };
    for (const Case& c : cases) {
        const NotchShape shape{c.top, c.bottom};
        EXPECT_EQ(shape.fitted(c.rect), c.expected) << c.rect.width() << "x" << c.rect.height();
        EXPECT_FALSE(shape.path(c.rect).isEmpty() && c.rect.width() > 0);
    }
    // The body below the shoulders is inset by the shoulder on each side.
    const QPainterPath path = NotchShape{8, 13}.path({0, 0, 200, 32});
    EXPECT_TRUE(path.contains(QPointF(100, 20)));
    EXPECT_FALSE(path.contains(QPointF(4, 20)));
}

TEST(NotchPresentation, choosesTheCardByStageModeAndHover) {
    const auto agent = VoiceMode::agent, dictation = VoiceMode::dictation;
    struct Case {
        Stage stage;
        VoiceMode mode;
        bool hovering;
        QString live;
        Kind expected;
    };
    const Case cases[] = {
        {Stage::listening, agent, true, "abre", Kind::working},
        {Stage::listening, agent, true, "", Kind::listening},
        {Stage::listening, dictation, true, "abre", Kind::listening},
        {Stage::processing, agent, false, "", Kind::compact},
        {Stage::processing, agent, true, "", Kind::working},
        {Stage::processing, dictation, true, "", Kind::hover},
        {Stage::success, agent, false, "", Kind::result},
        {Stage::success, dictation, false, "", Kind::compact},
        {Stage::success, dictation, true, "", Kind::hover},
        {Stage::confirming, dictation, true, "", Kind::confirm},
        {Stage::answer, agent, true, "", Kind::answer},
        {Stage::error, agent, false, "", Kind::compact},
        {Stage::error, agent, true, "", Kind::hover},
        {Stage::idle, agent, true, "", Kind::hover},
        {Stage::idle, agent, false, "", Kind::compact},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NotchPresentation::of(c.stage, c.mode, c.hovering, c.live), c.expected)
            << int(c.stage) << " " << int(c.mode) << " " << c.hovering;
}

TEST(NotchPresentation, widthsRadiiAndGlow) {
    struct Case {
        Kind kind;
        bool email;
        int at200, at260;
        double radius;
    };
    const Case cases[] = {
        {Kind::compact, false, 308, 368, 13}, {Kind::listening, false, 340, 400, 13},
        {Kind::hover, false, 470, 480, 28},   {Kind::working, false, 470, 480, 28},
        {Kind::answer, false, 470, 480, 28},  {Kind::result, false, 470, 480, 28},
        {Kind::confirm, false, 500, 520, 28}, {Kind::confirm, true, 620, 660, 28},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NotchPresentation::islandWidth(c.kind, 200, c.email), c.at200)
            << NotchPresentation::name(c.kind).toStdString();
        EXPECT_EQ(NotchPresentation::islandWidth(c.kind, 260, c.email), c.at260);
        EXPECT_EQ(NotchPresentation::bottomRadius(c.kind), c.radius);
    }
    const auto quiet = NotchPresentation::glow(Stage::listening, {});
    EXPECT_NEAR(quiet.color.alphaF(), 0.35, 0.01);
    EXPECT_EQ(quiet.radius, 10);
    const auto loud = NotchPresentation::glow(Stage::listening, {0.2f, 1.0f});
    EXPECT_NEAR(loud.color.alphaF(), 0.85, 0.01);
    EXPECT_EQ(loud.radius, 32);
    EXPECT_EQ(NotchPresentation::glow(Stage::processing, {1.0f}).radius, 0);
}

TEST(NotchEars, rightIndicatorByPriority) {
    using Right = NotchEars::Right;
    auto in = [](Stage stage, VoiceMode mode) {
        NotchEars::Inputs i;
        i.stage = stage;
        i.mode = mode;
        return i;
    };
    NotchEars::Inputs listeningUnseen = in(Stage::listening, VoiceMode::dictation);
    listeningUnseen.hasUnseenResult = true;
    NotchEars::Inputs toolDictation = in(Stage::processing, VoiceMode::dictation);
    toolDictation.toolSymbol = QStringLiteral("calendar");
    NotchEars::Inputs dictationProcessing = in(Stage::processing, VoiceMode::dictation);
    dictationProcessing.awaitingReply = true;
    dictationProcessing.conversationTurns = 2;
    NotchEars::Inputs idleQuestion = in(Stage::idle, VoiceMode::agent);
    idleQuestion.awaitingReply = true;
    idleQuestion.conversationTurns = 2;
    NotchEars::Inputs idleConversation = in(Stage::idle, VoiceMode::agent);
    idleConversation.conversationTurns = 1;
    NotchEars::Inputs answerConversation = in(Stage::answer, VoiceMode::agent);
    answerConversation.conversationTurns = 3;
    NotchEars::Inputs unseenIdle = idleQuestion;
    unseenIdle.hasUnseenResult = true;

    const std::pair<NotchEars::Inputs, Right> cases[] = {
        {listeningUnseen, Right::target},
        {toolDictation, Right::tool},
        {in(Stage::processing, VoiceMode::agent), Right::thinking},
        {dictationProcessing, Right::none},
        {unseenIdle, Right::unseen},
        {idleQuestion, Right::question},
        {idleConversation, Right::conversation},
        {answerConversation, Right::none},
    };
    for (const auto& [inputs, expected] : cases)
        EXPECT_EQ(NotchEars::right(inputs), expected) << int(inputs.stage);
    EXPECT_EQ(NotchEars::rightSymbols(in(Stage::listening, VoiceMode::dictation)).size(), 0);
    EXPECT_EQ(NotchEars::rightSymbols(in(Stage::listening, VoiceMode::agent)).size(), 1);
    EXPECT_EQ(NotchEars::rightTooltip(Right::question),
              "Ela te fez uma pergunta: segure a tecla e responda");
    EXPECT_EQ(NotchEars::earWidth(308, 200), 46);
    EXPECT_EQ(NotchEars::earWidth(340, 200), 62);
}

TEST(NotchEars, markAndStatusSymbolByStage) {
    NotchEars::Inputs idle;
    EXPECT_FALSE(NotchEars::mark(idle).animated);
    EXPECT_EQ(NotchEars::markSize(Stage::idle), QSize(24, 18));
    idle.hovering = true;
    EXPECT_TRUE(NotchEars::mark(idle).animated);
    EXPECT_EQ(NotchEars::mark(idle).level, 0.25);

    NotchEars::Inputs listening;
    listening.stage = Stage::listening;
    listening.levels = {0.1f, 0.5f};
    const BrandMarkInputs dictation = NotchEars::mark(listening);
    EXPECT_FALSE(dictation.ball);
    EXPECT_EQ(dictation.levels, listening.levels);
    EXPECT_DOUBLE_EQ(dictation.level, 0.5);
    EXPECT_TRUE(dictation.glow);
    listening.mode = VoiceMode::agent;
    EXPECT_TRUE(NotchEars::mark(listening).ball);
    EXPECT_FALSE(NotchEars::mark(listening).levels.has_value());

    NotchEars::Inputs answer;
    answer.stage = Stage::answer;
    EXPECT_EQ(NotchEars::status(answer)->name, "sparkles");
    answer.isSpeaking = true;
    EXPECT_EQ(NotchEars::status(answer)->name, "speaker.wave.2.fill");
    answer.stage = Stage::error;
    EXPECT_EQ(NotchEars::status(answer)->name, "exclamationmark.circle.fill");
    answer.stage = Stage::confirming;
    EXPECT_FALSE(NotchEars::status(answer).has_value());
    EXPECT_FALSE(NotchEars::hidesMark(Stage::confirming));
    EXPECT_TRUE(NotchEars::hidesMark(Stage::success));
}

TEST(NotchTexts, placeholdersAndKeyCapsFollowTheHotkey) {
    struct Case {
        HotkeyChoice hotkey;
        QString cap, request, question, reply;
    };
    const Case cases[] = {
        {HotkeyChoice::fn, "fn", "Digite ou segure fn para falar",
         "Responda à pergunta… ou segure fn e fale", "Responder… ou segure fn e fale"},
        {HotkeyChoice::rightOption, "⌥", "Digite ou segure a tecla para falar",
         "Responda à pergunta… ou segure a tecla e fale", "Responder… ou segure a tecla e fale"},
        {HotkeyChoice::rightCommand, "⌘", "Digite ou segure a tecla para falar",
         "Responda à pergunta… ou segure a tecla e fale", "Responder… ou segure a tecla e fale"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NotchTexts::keyCap(c.hotkey), c.cap);
        EXPECT_EQ(NotchTexts::requestPlaceholder(false, c.hotkey), c.request);
        EXPECT_EQ(NotchTexts::requestPlaceholder(true, c.hotkey), c.question);
        EXPECT_EQ(NotchTexts::replyPlaceholder(c.hotkey), c.reply);
    }
}

TEST(NotchTexts, cardWords) {
    EXPECT_EQ(NotchTexts::workingLine(""), "…");
    EXPECT_EQ(NotchTexts::progressLine(""), "Trabalhando…");
    EXPECT_EQ(NotchTexts::progressSymbol(std::nullopt, false), "sparkles");
    EXPECT_EQ(NotchTexts::progressSymbol(std::nullopt, true), std::nullopt); // the icon
    EXPECT_EQ(NotchTexts::progressSymbol(QStringLiteral("calendar"), true), "calendar");

    EXPECT_TRUE(NotchTexts::resultIsEmail("E-mail enviado para Ana"));
    EXPECT_FALSE(NotchTexts::resultIsEmail("e-mail enviado"));
    EXPECT_FALSE(NotchTexts::resultIsEmail("Seu E-mail saiu"));

    EXPECT_EQ(NotchTexts::conversationLabel(0), std::nullopt);
    EXPECT_EQ(NotchTexts::conversationLabel(1), std::nullopt);
    EXPECT_EQ(NotchTexts::conversationLabel(3), "Conversa · 3");
    EXPECT_FALSE(NotchTexts::offersNewConversation(0));
    EXPECT_TRUE(NotchTexts::offersNewConversation(1));

    // Counted as the eye sees them.
    EXPECT_FALSE(NotchTexts::answerScrolls(QString(419, QChar(u'a'))));
    EXPECT_TRUE(NotchTexts::answerScrolls(QString(420, QChar(u'a'))));
    QString accented;
    for (int i = 0; i < 419; ++i)
        accented += QStringLiteral("e\u0301");
    EXPECT_FALSE(NotchTexts::answerScrolls(accented));

    ActionPreview preview;
    preview.details = {"Para: Ana", "", "Olá Ana", "Amanhã"};
    preview.editableValue = "Olá Ana";
    EXPECT_EQ(NotchTexts::visibleDetails(preview), QStringList({"Para: Ana", "Amanhã"}));
}

TEST(RecentEntries, slotRowsAndWords) {
    QList<HistoryEntry> entries;
    for (int i = 0; i < 10; ++i)
        entries << HistoryEntry::make(HistoryEntry::Kind::agent, {}, QString::number(i), "ok");
    EXPECT_EQ(RecentEntries::slot(std::nullopt, entries).rows.size(), 4);
    EXPECT_EQ(RecentEntries::slot(std::nullopt, entries.mid(0, 2)).rows.size(), 2);
    const auto opened = RecentEntries::slot(entries[6].id, entries);
    ASSERT_TRUE(opened.opened.has_value());
    EXPECT_EQ(opened.opened->transcript, "6");
    // An opened entry that left the history shows the list again.
    EXPECT_EQ(RecentEntries::slot(QUuid::createUuid(), entries).rows.size(), 4);

    const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), Qt::UTC);
    HistoryEntry dictation =
        HistoryEntry::make(HistoryEntry::Kind::dictation, "Editor", "pedido", "texto digitado");
    dictation.date = now.addSecs(-300);
    EXPECT_EQ(RecentEntries::title(dictation), "texto digitado");
    EXPECT_EQ(RecentEntries::subtitle(dictation, now), "Ditado · Editor · há 5 minutos");
    HistoryEntry edit = HistoryEntry::make(HistoryEntry::Kind::edit, "", "deixe formal", "x");
    edit.date = now.addSecs(-7200);
    EXPECT_EQ(RecentEntries::title(edit), "deixe formal");
    EXPECT_EQ(RecentEntries::subtitle(edit, now), "Edição · há 2 horas");

    edit.transcript = QString(200, QChar(u'a'));
    edit.output = QString(219, QChar(u'b'));
    EXPECT_FALSE(RecentEntries::detailScrolls(edit));
    edit.output += QChar(u'b');
    EXPECT_TRUE(RecentEntries::detailScrolls(edit));
}

TEST(RecentEntries, relativeDates) {
    const QDateTime now(QDate(2026, 12, 9), QTime(15, 0), Qt::UTC);
    struct Case {
        qint64 secondsAgo;
        QString numeric, named;
    };
    const Case cases[] = {
        {0, "há 0 segundos", "agora"},          {1, "há 1 segundo", "há 1 segundo"},
        {90, "há 1 minuto", "há 1 minuto"},     {3600, "há 1 hora", "há 1 hora"},
        {86400, "há 1 dia", "ontem"},           {3 * 86400, "há 3 dias", "há 3 dias"},
        {-120, "em 2 minutos", "em 2 minutos"},
    };
    for (const Case& c : cases) {
        const QDateTime date = now.addSecs(-c.secondsAgo);
        EXPECT_EQ(RecentEntries::relativeDate(date, now, false), c.numeric) << c.secondsAgo;
        EXPECT_EQ(RecentEntries::relativeDate(date, now, true), c.named) << c.secondsAgo;
    }
}

TEST(NotchModel, notifiesOnlyOnRealChanges) {
    NotchModel model;
    QSignalSpy size(&model, &NotchModel::islandSizeChanged);
    QSignalSpy geometry(&model, &NotchModel::geometryChanged);
    QSignalSpy expanded(&model, &NotchModel::expandedEntryIDChanged);
    model.setIslandSize({308, 32});
    model.setIslandSize({308, 32});
    model.setIslandSize({308, 33});
    EXPECT_EQ(size.count(), 2);
    NotchGeometry g = model.geometry();
    model.setGeometry(g);
    g.screenFrame.translate(10, 0);
    model.setGeometry(g);
    EXPECT_EQ(geometry.count(), 1);
    model.setExpandedEntryID(std::nullopt);
    const QUuid id = QUuid::createUuid();
    model.setExpandedEntryID(id);
    model.setExpandedEntryID(id);
    EXPECT_EQ(expanded.count(), 1);
}
