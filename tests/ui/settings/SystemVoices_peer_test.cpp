#include "core/AppSettings.h"
#include "platform/AudioPlayer.h"
#include "platform/Platform.h"
#include "platform/linux/QtSystemVoice.h"
#include "speech/Speaker.h"
#include "speech/TTSServer.h"
#include "support/Async.h"
#include "support/VirtualMicrophone.h"
#include "ui/components/SettingRow.h"
#include "ui/settings/VoiceCardModel.h"
#include "ui/settings/VoiceSettingsCard.h"

#include <QComboBox>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

// The voice card offers the desktop's own voices (speech-dispatcher with espeak-ng) of the
// speech language, and answers are spoken with the one chosen.
TEST(VoiceCardWithTheDesktopVoices, ListsTheVoicesAndAnswersSpeakWithTheOneChosen) {
    if (!test::VirtualMicrophone::isAvailable()) GTEST_SKIP() << "no PulseAudio test session";
    auto voice = std::make_shared<QtSystemVoice>();
    Platform::install<SystemVoice>(voice);
    AppSettings& s = AppSettings::shared();
    s.setLocaleID(QStringLiteral("pt-BR"));
    s.setVoiceIdentifier({});
    s.setVoiceEngine(VoiceEngine::apple);
    TTSServer::Options options;
    options.program = QStringLiteral("/nonexistent/uvx");
    options.port = 1;
    TTSServer server(options);

    VoiceSettingsCard card(s, server);
    QComboBox* picker = nullptr;
    SettingRow* row = nullptr;
    for (auto* r : card.findChildren<SettingRow*>())
        if (r->title() == QStringLiteral("Voz")) row = r;
    ASSERT_NE(row, nullptr);
    picker = qobject_cast<QComboBox*>(row->trailing());
    ASSERT_NE(picker, nullptr);
    QStringList items;
    for (int i = 0; i < picker->count(); ++i)
        items << picker->itemText(i);
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[0], QStringLiteral("Automática (melhor disponível)"));
    EXPECT_EQ(items[1], QStringLiteral("Portuguese (Brazil) · Compacta"));
    EXPECT_TRUE(items.contains(QStringLiteral("Portuguese (Portugal) · Compacta")));
    EXPECT_EQ(picker->currentIndex(), 0);
    EXPECT_EQ(row->detail(), VoiceCardModel::compactVoicesHint()) << "espeak-ng's are compact";

    const int portugal = items.indexOf(QStringLiteral("Portuguese (Portugal) · Compacta"));
    picker->setCurrentIndex(portugal);
    Q_EMIT picker->activated(portugal);
    EXPECT_EQ(s.voiceIdentifier(), QStringLiteral("Portuguese (Portugal)"));

    Speaker speaker(voice, nullptr, &server, &s);
    bool done = false;
    speaker.speak(QStringLiteral("Olá."), [&] { done = true; });
    EXPECT_EQ(voice->voiceName(), QStringLiteral("Portuguese (Portugal)"));
    EXPECT_TRUE(test::spinUntil([&] { return done; }, 20000));

    // Another speech language lists its own voices; the chosen one stays stored.
    s.setLocaleID(QStringLiteral("en-US"));
    EXPECT_TRUE(picker->itemText(1).startsWith(QStringLiteral("English")))
        << picker->itemText(1).toStdString();
    EXPECT_EQ(picker->currentIndex(), -1);
    EXPECT_EQ(s.voiceIdentifier(), QStringLiteral("Portuguese (Portugal)"));

    s.setLocaleID(QStringLiteral("pt-BR"));
    EXPECT_EQ(picker->currentIndex(), portugal);
    s.setVoiceIdentifier({});
    EXPECT_EQ(picker->currentIndex(), 0);
    Platform::uninstall<SystemVoice>();
}

} // namespace
