// The canned states of the previews and the installer background, without the program: file
// names and sizes, level histories, the entry the island and drawer open, and the pixels of
// the background at both scales.
#include "core/AppState.h"
#include "ui/components/Brand.h"
#include "ui/notch/NotchModel.h"
#include "ui/preview/DMGBackground.h"
#include "ui/preview/PreviewScenes.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <cmath>

using namespace nolvea;
using Stage = AppState::Stage;
using Kind = HistoryEntry::Kind;

namespace {

bool near(QRgb got, const QColor& want, int tolerance = 3) {
    return std::abs(qRed(got) - want.red()) <= tolerance &&
           std::abs(qGreen(got) - want.green()) <= tolerance &&
           std::abs(qBlue(got) - want.blue()) <= tolerance;
}

// `over` at `alpha` on `under`.
QColor blend(const QColor& over, double alpha, const QColor& under) {
    auto mix = [&](int a, int b) { return int(std::lround(a * alpha + b * (1 - alpha))); };
    return QColor(mix(over.red(), under.red()), mix(over.green(), under.green()),
                  mix(over.blue(), under.blue()));
}

} // namespace

TEST(PreviewScenes, PicturesInWritingOrderWithTheirSizes) {
    const QList<PreviewScenes::Picture> pictures = PreviewScenes::pictures();
    ASSERT_EQ(pictures.size(), 35);
    QStringList names;
    for (const auto& p : pictures)
        names << p.name;
    EXPECT_EQ(names.mid(0, 8), QStringList({"1-ouvindo.png", "2-maos-livres.png", "3-agente.png",
                                            "4-processando.png", "5-sucesso.png", "6-erro.png",
                                            "7-confirmar.png", "8-resposta.png"}));
    EXPECT_EQ(names.at(8), "onboarding-0-welcome.png");
    EXPECT_EQ(names.at(12), "onboarding-4-ai.png");
    EXPECT_EQ(names.at(14), "onboarding-6-done.png");
    EXPECT_EQ(names.at(15), "logo-estados.png");
    EXPECT_EQ(names.at(16), "notch-1-parado.png");
    // The hover question comes before the hover conversation.
    EXPECT_LT(names.indexOf("notch-8c-hover-pergunta.png"),
              names.indexOf("notch-8b-hover-conversa.png"));
    EXPECT_EQ(names.at(28), "notch-11-enviado.png");
    EXPECT_EQ(names.mid(29),
              QStringList({"historico-gaveta.png", "ajustes-general.png", "ajustes-ai.png",
                           "ajustes-vocabulary.png", "ajustes-about.png", "menu.png"}));
    struct Size {
        const char* name;
        QSize points;
    };
    for (const Size c :
         {Size{"1-ouvindo.png", {640, 300}}, Size{"onboarding-3-hotkey.png", {780, 660}},
          Size{"logo-estados.png", {760, 120}}, Size{"notch-9-email.png", {760, 520}},
          Size{"historico-gaveta.png", {700, 760}}, Size{"ajustes-about.png", {620, 760}},
          Size{"menu.png", {340, 460}}})
        EXPECT_EQ(pictures.at(names.indexOf(c.name)).points, c.points) << c.name;
}

TEST(PreviewScenes, LevelHistories) {
    const QList<float> ouvindo = PreviewScenes::levels(0.6, 0.8f);
    ASSERT_EQ(ouvindo.size(), 32);
    EXPECT_EQ(ouvindo[0], 0.0f);
    EXPECT_FLOAT_EQ(ouvindo[5], std::abs(float(std::sin(3.0))) * 0.8f);
    const QList<float> agente = PreviewScenes::levels(0.7, 0.9f, true);
    EXPECT_FLOAT_EQ(agente[0], 0.9f);
    EXPECT_FLOAT_EQ(agente[10], std::abs(float(std::cos(7.0))) * 0.9f);
    const QList<float> logo = PreviewScenes::logoHistory();
    ASSERT_EQ(logo.size(), 32);
    EXPECT_EQ(logo[0], 0.0f);
    EXPECT_FLOAT_EQ(logo[16], (0.3f + 0.7f * 0.5f) * std::abs(float(std::sin(7.2))));
}

TEST(PreviewScenes, TheEntryTheDrawerAndTheIslandOpen) {
    const HistoryEntry dictation = HistoryEntry::make(Kind::dictation, "Kate", "a", "A");
    const HistoryEntry agent = HistoryEntry::make(Kind::agent, "", "b", "B");
    struct Case {
        QList<HistoryEntry> entries;
        bool orFirst;
        std::optional<QUuid> opened;
    };
    const Case cases[] = {
        {{dictation, agent}, false, agent.id}, // the drawer
        {{dictation, agent}, true, agent.id},  // the island's conversation
        {{dictation}, false, std::nullopt},    // no agent entry: the drawer opens nothing
        {{dictation}, true, dictation.id},     // while the island opens the first
        {{}, true, std::nullopt},              // an empty history
    };
    for (const Case& c : cases)
        EXPECT_EQ(PreviewScenes::firstAgentEntry(c.entries, c.orFirst), c.opened);

    // The island's conversation picture opens that entry.
    AppState state;
    NotchModel model;
    for (const auto& scene : PreviewScenes::notch({dictation, agent}, {}))
        if (scene.stem == "notch-8b-hover-conversa") scene.configure(state, model);
    EXPECT_TRUE(model.isHovering());
    EXPECT_EQ(model.expandedEntryID(), agent.id);
}

TEST(PreviewScenes, PillAndIslandStatesAreTheCannedOnes) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    struct Case {
        const char* stem;
        Stage stage;
        VoiceMode mode;
    };
    const Case pill[] = {
        {"1-ouvindo", Stage::listening, VoiceMode::dictation},
        {"2-maos-livres", Stage::listening, VoiceMode::dictation},
        {"3-agente", Stage::listening, VoiceMode::agent},
        {"4-processando", Stage::processing, VoiceMode::dictation},
        {"5-sucesso", Stage::success, VoiceMode::dictation},
        {"6-erro", Stage::error, VoiceMode::dictation},
        {"7-confirmar", Stage::confirming, VoiceMode::agent},
        {"8-resposta", Stage::answer, VoiceMode::agent},
    };
    const auto scenes = PreviewScenes::pill(now);
    ASSERT_EQ(scenes.size(), 8);
    for (int i = 0; i < 8; ++i) {
        AppState state;
        scenes[i].configure(state);
        EXPECT_EQ(scenes[i].stem, pill[i].stem);
        EXPECT_EQ(state.stage(), pill[i].stage) << pill[i].stem;
        EXPECT_EQ(state.mode(), pill[i].mode) << pill[i].stem;
        EXPECT_EQ(state.levels().size(), AppState::kLevelCount);
    }
    AppState hands;
    scenes[1].configure(hands);
    EXPECT_TRUE(hands.handsFree());
    EXPECT_EQ(hands.listeningSince(), now.addSecs(-12));

    // The e-mail without an address: one recipient named, no address, no original message.
    AppState state;
    NotchModel model;
    for (const auto& scene : PreviewScenes::notch({}, {}))
        if (scene.stem == "notch-10-email-sem-endereco") scene.configure(state, model);
    ASSERT_TRUE(state.pendingAction() && state.pendingAction()->email);
    const EmailDraft& draft = *state.pendingAction()->email;
    ASSERT_EQ(draft.to.size(), 1u);
    EXPECT_EQ(draft.to[0].name, PreviewScenes::people().contactFirst);
    EXPECT_TRUE(draft.to[0].address.isEmpty());
    EXPECT_FALSE(draft.original.has_value());
    EXPECT_TRUE(draft.body.startsWith("Oi " + PreviewScenes::people().contactFirst + ",\n\n"));
    EXPECT_TRUE(draft.body.endsWith("\n\nAbraço,\n" + PreviewScenes::people().userFirst));
    EXPECT_EQ(state.stage(), Stage::confirming);
}

TEST(DMGBackground, DrawsTheLayoutAtBothScales) {
    const QColor paper = QColor::fromRgbF(0.965f, 0.957f, 0.945f);
    const QImage one = DMGBackground::render(1).convertToFormat(QImage::Format_ARGB32);
    const QImage two = DMGBackground::render(2).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(one.size(), QSize(660, 470));
    ASSERT_EQ(two.size(), QSize(1320, 940));

    const QColor backdrop = blend(QColor::fromRgbF(0.5f, 0.5f, 0.58f), 0.55, paper);
    struct Pixel {
        const char* what;
        QPoint at; // in points
        QColor colour;
    };
    const Pixel pixels[] = {
        {"background", {4, 4}, paper},
        {"background between the slots", {330, 110}, paper},
        {"arrow bar", {300, 175}, Brand::roxo()},
        {"app label backdrop", {170 - 50, 241}, backdrop},
        {"folder label backdrop", {490 + 50, 241}, backdrop},
        {"card", {600, 380}, blend(Qt::white, 0.75, paper)},
    };
    for (const Pixel& p : pixels) {
        EXPECT_TRUE(near(one.pixel(p.at), p.colour))
            << p.what << " " << std::hex << one.pixel(p.at);
        EXPECT_TRUE(near(two.pixel(p.at * 2 + QPoint(1, 1)), p.colour)) << p.what << " at 2×";
    }
    // The title's ink is in its line, centred: dark pixels left and right of the middle.
    auto inkIn = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (near(one.pixel(x, y), Brand::noite(), 40)) return true;
        return false;
    };
    EXPECT_TRUE(inkIn(160, 330, 32, 56));
    EXPECT_TRUE(inkIn(330, 500, 32, 56));
    EXPECT_FALSE(inkIn(0, 40, 32, 56));
    // Three badges in a column at the card's left, each a purple disc.
    int badges = 0;
    bool inBadge = false;
    for (int y = 305; y < 470; ++y) { // below the header's padlock
        const bool purple = near(one.pixel(61, y), Brand::roxo(), 8);
        if (purple && !inBadge) ++badges;
        inBadge = purple;
    }
    EXPECT_EQ(badges, 3);

    const QStringList titles{"Abra a Nolvea em Aplicativos.",
                             "Abra Ajustes do Sistema › Privacidade e Segurança.",
                             "Confirme com a sua senha."};
    ASSERT_EQ(DMGBackground::steps().size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(DMGBackground::steps()[i].title, titles[i]);
    const QString dir = QStringLiteral(NOLVEA_BINARY_DIR "/screenshots");
    QDir().mkpath(dir);
    two.save(dir + "/fundo@2x.png");
}
