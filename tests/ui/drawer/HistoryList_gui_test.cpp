#include "ui/drawer/DrawerCountMotion.h"
#include "ui/drawer/DrawerEdge.h"
#include "ui/drawer/DrawerMotion.h"
#include "ui/drawer/HistoryList.h"

#include <gtest/gtest.h>

using namespace nolvea;
using Kind = HistoryEntry::Kind;

namespace {

const QTimeZone kSaoPaulo("America/Sao_Paulo");
const QLocale kBrazil(QLocale::Portuguese, QLocale::Brazil);

HistoryEntry entry(const char* local, Kind kind = Kind::dictation, const char* app = "",
                   const char* said = "", const char* output = "") {
    HistoryEntry e;
    e.date = QDateTime::fromString(QString::fromUtf8(local), Qt::ISODate);
    e.date.setTimeZone(kSaoPaulo);
    e.date = e.date.toUTC();
    e.kind = kind;
    e.appName = QString::fromUtf8(app);
    e.transcript = QString::fromUtf8(said);
    e.output = QString::fromUtf8(output);
    return e;
}

TEST(HistoryList, SearchLooksAtOutputTranscriptAndAppIgnoringCaseAndBlanks) {
    const QList<HistoryEntry> store{
        entry("2026-12-10T09:00:00", Kind::dictation, "Firefox", "bom dia", "Bom dia!"),
        entry("2026-12-10T08:00:00", Kind::agent, "Terminal", "que horas são", "São 8h."),
        entry("2026-12-09T08:00:00", Kind::edit, "", "traduza", "Translate"),
    };
    struct Case {
        const char* query;
        QList<int> kept;
    };
    const Case cases[] =
        {
            {"", {0, 1, 2}},    {" \t ", {0, 1, 2}}, {"BOM", {0}},
            {"  horas ", {1}},  {"terminal", {1}},   {"são", {1}},
            {"translate", {2}}, {"nada", {}},        {"\nbom", {}}, // line breaks are not trimmed
        };
    for (const Case& c : cases) {
        QList<int> kept;
        for (const HistoryEntry& e : HistoryList::filtered(store, QString::fromUtf8(c.query)))
            kept.append(int(store.indexOf(e)));
        EXPECT_EQ(kept, c.kept) << c.query;
    }
}

TEST(HistoryList, GroupsAreRunsOfOneLocalDayAndOtherYearsShowTheYear) {
    const QDateTime now = entry("2026-12-10T21:30:00").date;
    struct Case {
        const char* name;
        QList<const char*> dates;
        QStringList titles;
        QList<int> sizes;
    };
    const Case cases[] = {
        {"today, yesterday and older",
         {"2026-12-10T23:50:00", "2026-12-10T00:10:00", "2026-12-09T23:59:00",
          "2026-12-01T10:00:00"},
         {"Hoje", "Ontem", "terça-feira, 1 de dezembro"},
         {2, 1, 1}},
        {"the local day, not the UTC one (23:50 here is tomorrow in UTC)",
         {"2026-12-09T23:50:00"},
         {"Ontem"},
         {1}},
        {"the clock set back: the same day twice stays two runs",
         {"2026-12-10T09:00:00", "2026-12-09T09:00:00", "2026-12-10T08:00:00"},
         {"Hoje", "Ontem", "Hoje"},
         {1, 1, 1}},
        {"the same day and month of another year is another group, with its year",
         {"2026-12-01T09:00:00", "2025-12-01T09:00:00"},
         {"terça-feira, 1 de dezembro", "segunda-feira, 1 de dezembro de 2025"},
         {1, 1}},
        {"nothing", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QList<HistoryEntry> store;
        for (const char* d : c.dates)
            store.append(entry(d));
        const auto groups = HistoryList::groups(store, now, kSaoPaulo, kBrazil);
        QStringList titles;
        QList<int> sizes;
        for (const auto& g : groups) {
            titles.append(g.title);
            sizes.append(int(g.entries.size()));
        }
        EXPECT_EQ(titles, c.titles);
        EXPECT_EQ(sizes, c.sizes);
    }
    // Two runs of one title are still told apart by their whole date.
    const auto twoYears = HistoryList::groups(
        {entry("2026-06-01T09:00:00"), entry("2025-06-01T09:00:00")}, now, kSaoPaulo, kBrazil);
    ASSERT_EQ(twoYears.size(), 2);
    EXPECT_NE(twoYears[0].day, twoYears[1].day);
}

TEST(HistoryList, RowTexts) {
    const HistoryEntry dictation =
        entry("2026-12-10T14:05:00", Kind::dictation, "Firefox", " bom dia ", "bom dia");
    const HistoryEntry agent =
        entry("2026-12-10T14:05:00", Kind::agent, "", "que horas são", "São **14h**.");
    const HistoryEntry edit = entry("2026-12-10T14:05:00", Kind::edit, "Kate", "  ", "Texto");
    EXPECT_EQ(HistoryList::meta(dictation, kSaoPaulo, kBrazil),
              QStringLiteral("Ditado · Firefox · 14:05"));
    EXPECT_EQ(HistoryList::meta(agent, kSaoPaulo, kBrazil), QStringLiteral("Agente · 14:05"));
    EXPECT_EQ(HistoryList::meta(edit, kSaoPaulo, kBrazil), QStringLiteral("Edição · Kate · 14:05"));
    EXPECT_EQ(HistoryList::preview(dictation), QStringLiteral("bom dia"));
    EXPECT_EQ(HistoryList::preview(agent), QStringLiteral("que horas são"));
    EXPECT_EQ(HistoryList::preview(edit), QStringLiteral("  "));
    // What was said shows only when it adds something.
    EXPECT_FALSE(HistoryList::showsRequest(dictation));
    EXPECT_TRUE(HistoryList::showsRequest(agent));
    EXPECT_FALSE(HistoryList::showsRequest(edit));
    EXPECT_EQ(HistoryList::counts(0, 0), QStringLiteral("0 registros · 0 palavras ditadas"));
    EXPECT_EQ(HistoryList::counts(1, 1), QStringLiteral("1 registros · 1 palavras ditadas"));
}

TEST(HistoryList, EmptyStateSaysWhetherTheSearchOrTheHistoryIsEmpty) {
    using E = HistoryList::EmptyState;
    EXPECT_EQ(
        HistoryList::emptyState("", HotkeyChoice::fn),
        (E{"waveform.badge.mic", "Nada por aqui ainda", "Segure Fn / 🌐 e fale em qualquer app."}));
    EXPECT_EQ(HistoryList::emptyState("", HotkeyChoice::rightOption).hint,
              QStringLiteral("Segure ⌥ Option direito e fale em qualquer app."));
    for (const char* q : {"x", " "})
        EXPECT_EQ(HistoryList::emptyState(q, HotkeyChoice::fn),
                  (E{"magnifyingglass", "Nenhum resultado", "Tente outra busca."}))
            << q;
}

TEST(DrawerEdge, TheHotZoneIsTheLeftEdgeAwayFromTheCorners) {
    const QRect main(0, 0, 1920, 1080);
    const QRect second(1920, 0, 1280, 1024);
    struct Case {
        QPoint p;
        bool hot;
    };
    const Case cases[] = {
        {{0, 500}, true},    {{1, 500}, true},      {{2, 500}, false},  {{0, 40}, false},
        {{0, 41}, true},     {{0, 1039}, true},     {{0, 1040}, false}, {{0, 0}, false},
        {{1920, 500}, true}, {{1921, 1000}, false},
    };
    for (const Case& c : cases) {
        const QRect s = *DrawerEdge::screenAt({main, second}, c.p);
        EXPECT_EQ(DrawerEdge::inHotZone(s, c.p), c.hot) << c.p.x() << "," << c.p.y();
    }
    EXPECT_EQ(DrawerEdge::screenAt({main, second}, {2000, 10}), second);
    EXPECT_EQ(DrawerEdge::screenAt({main, second}, {-50, 10}), main);
    EXPECT_EQ(DrawerEdge::screenAt({}, {0, 0}), std::nullopt);
    EXPECT_EQ(DrawerEdge::grown({0, 30, 400, 1000}), QRect(-6, 24, 412, 1012));
    EXPECT_EQ(DrawerEdge::panelFrame({1920, 32, 1280, 992}), QRect(1920, 32, 400, 992));
}

TEST(DrawerMotion, EachChangeTakesItsSpringAndTheCardSlidesFromTheEdge) {
    using C = DrawerMotion::Change;
    const SpringSpec closing{0.38, 0.9, 0};
    const struct {
        C change;
        SpringSpec spring;
    } cases[] = {
        {C::open, Theme::gentle()},     {C::close, closing},          {C::expand, Theme::gentle()},
        {C::collapse, Theme::gentle()}, {C::hover, Theme::snappy()},  {C::query, Theme::snappy()},
        {C::remove, Theme::gentle()},   {C::counts, Theme::gentle()}, {C::confirm, Theme::snappy()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawerMotion::spring(c.change), c.spring) << int(c.change);

    const struct {
        double progress;
        MotionPose pose;
    } card[] = {
        {0, {.opacity = 0, .offset = {-390, 0}}},
        {0.5, {.opacity = 0.5, .offset = {-195, 0}}},
        {1, {}},
        {1.02, {.opacity = 1, .offset = {0.02 * 390, 0}}}, // a spring's overshoot stays opaque
    };
    for (const auto& c : card) {
        EXPECT_EQ(DrawerMotion::card(c.progress, 390).opacity, c.pose.opacity) << c.progress;
        EXPECT_NEAR(DrawerMotion::card(c.progress, 390).offset.x(), c.pose.offset.x(), 1e-9);
    }
    EXPECT_TRUE(DrawerMotion::card(1, 390).isIdentity());
    EXPECT_EQ(DrawerMotion::chevronAngle(0), 0);
    EXPECT_EQ(DrawerMotion::chevronAngle(1), 90);
    EXPECT_EQ(DrawerMotion::rowFill(true, false), 0.06);
    EXPECT_EQ(DrawerMotion::rowFill(true, true), 0.06);
    EXPECT_EQ(DrawerMotion::rowFill(false, true), 0.045);
    EXPECT_EQ(DrawerMotion::rowFill(false, false), 0);
}

TEST(DrawerCountMotion, OnlyTheDigitsThatChangeRollUnitsUnderUnits) {
    using R = DrawerCountMotion::Role;
    using P = DrawerCountMotion::Piece;
    const QString words = QStringLiteral(" registros · ");
    const QString tail = QStringLiteral(" palavras ditadas");
    const struct {
        const char* from;
        const char* to;
        QList<P> pieces;
        int direction;
    } cases[] = {
        // One digit changes: it rolls, the other number and the words stay.
        {"3 registros · 8 palavras ditadas",
         "2 registros · 8 palavras ditadas",
         {{"3", R::leaving, 0, -1},
          {"2", R::entering, -1, 0},
          {words, R::kept, 1, 1},
          {"8", R::kept, 14, 14},
          {tail, R::kept, 15, 15}},
         -1},
        // 9 → 10: the units roll and the tens come in on the left, the words slide right.
        {"9 registros · 8 palavras ditadas",
         "10 registros · 12 palavras ditadas",
         {{"1", R::entering, -1, 0},
          {"9", R::leaving, 0, -1},
          {"0", R::entering, -1, 1},
          {words, R::kept, 1, 2},
          {"1", R::entering, -1, 15},
          {"8", R::leaving, 14, -1},
          {"2", R::entering, -1, 16},
          {tail, R::kept, 15, 17}},
         1},
        // 10 → 0: the tens go, the units stay.
        {"10 registros · 5 palavras ditadas",
         "0 registros · 5 palavras ditadas",
         {{"1", R::leaving, 0, -1},
          {"0", R::kept, 1, 0},
          {words, R::kept, 2, 1},
          {"5", R::kept, 15, 14},
          {tail, R::kept, 16, 15}},
         -1},
        // Other words: the whole text is replaced.
        {"3 registros",
         "três",
         {{"3 registros", R::leaving, 0, -1}, {"três", R::entering, -1, 0}},
         1},
        {"", "1 registros", {{"1 registros", R::entering, -1, 0}}, 1},
    };
    for (const auto& c : cases) {
        const QString from = QString::fromUtf8(c.from);
        const QString to = QString::fromUtf8(c.to);
        EXPECT_EQ(DrawerCountMotion::pieces(from, to), c.pieces) << c.from << " → " << c.to;
        EXPECT_EQ(DrawerCountMotion::direction(from, to), c.direction) << c.from << " → " << c.to;
    }

    // Growing numbers come up from below and leave upwards; shrinking ones the other way.
    const double h = 20;
    EXPECT_GT(DrawerCountMotion::look(R::entering, 0, 1, h).offset.y(), 0);
    EXPECT_LT(DrawerCountMotion::look(R::leaving, 1, 1, h).offset.y(), 0);
    EXPECT_LT(DrawerCountMotion::look(R::entering, 0, -1, h).offset.y(), 0);
    EXPECT_GT(DrawerCountMotion::look(R::leaving, 1, -1, h).offset.y(), 0);
    EXPECT_EQ(DrawerCountMotion::look(R::entering, 0, 1, h).opacity, 0);
    EXPECT_GT(DrawerCountMotion::look(R::entering, 0, 1, h).blur, 0);
    EXPECT_EQ(DrawerCountMotion::look(R::leaving, 1, 1, h).opacity, 0);
    for (R role : {R::kept, R::entering})
        EXPECT_TRUE(DrawerCountMotion::look(role, 1, 1, h).isIdentity()) << int(role);
    EXPECT_TRUE(DrawerCountMotion::look(R::leaving, 0, 1, h).isIdentity());
    EXPECT_TRUE(DrawerCountMotion::look(R::kept, 0.3, 1, h).isIdentity());
}

} // namespace
