#include "core/AIProvider.h"

#include <gtest/gtest.h>

using nolvea::AIProvider;

namespace {

TEST(AIProvider, ApiBaseTrimsAndCompletesLocalServers) {
    struct Case {
        AIProvider provider;
        QString typed;
        QString base;
    };
    const QList<Case> cases = {
        {AIProvider::lmStudio, "http://127.0.0.1:1234/", "http://127.0.0.1:1234/v1"},
        {AIProvider::ollama, "http://127.0.0.1:11434/v1/", "http://127.0.0.1:11434/v1"},
        {AIProvider::openAI, " https://api.openai.com/v1/ ", "https://api.openai.com/v1"},
        {AIProvider::lmStudio, "", "/v1"},
        {AIProvider::custom, "", ""},
        {AIProvider::ollama, "http://h/V1", "http://h/V1/v1"},
        {AIProvider::custom, "\thttp://h/v1", "\thttp://h/v1"},
        {AIProvider::groq, "//https://x// /", "https://x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.provider.apiBase(c.typed), c.base) << c.typed.toStdString();
}

TEST(AIProvider, RawValuesAreExactAndStable) {
    const QStringList raws = {"lmStudio",      "ollama",        "openRouter", "groq",
                              "gemini",        "openAI",        "anthropic",  "custom",
                              "claudeAccount", "chatgptAccount"};
    ASSERT_EQ(AIProvider::allCases().size(), size_t(raws.size()));
    for (int i = 0; i < raws.size(); ++i) {
        EXPECT_EQ(AIProvider::allCases()[i].rawValue(), raws[i]);
        EXPECT_EQ(AIProvider::fromRawValue(raws[i]), AIProvider::allCases()[i]);
    }
    EXPECT_FALSE(AIProvider::fromRawValue("OpenAI"));
    EXPECT_FALSE(AIProvider::fromRawValue("openai"));
    EXPECT_FALSE(AIProvider::fromRawValue(" openAI"));
}

TEST(AIProvider, KeysAndLocality) {
    for (AIProvider p : AIProvider::allCases()) {
        EXPECT_EQ(p.keyPage().isEmpty(), !p.needsKey()) << p.rawValue().toStdString();
        if (p.needsKey()) {
            EXPECT_EQ(p.keyPage().scheme(), "https");
        }
        EXPECT_FALSE(p.defaultServerURL().endsWith('/'));
    }
    for (AIProvider p : {AIProvider::custom, AIProvider::claudeAccount, AIProvider::chatgptAccount})
        EXPECT_FALSE(p.needsKey());
    EXPECT_TRUE(AIProvider(AIProvider::lmStudio).isLocal());
    EXPECT_TRUE(AIProvider(AIProvider::ollama).isLocal());
    EXPECT_FALSE(AIProvider(AIProvider::custom).isLocal());
    EXPECT_EQ(AIProvider(AIProvider::openAI).note(), AIProvider(AIProvider::anthropic).note());
    EXPECT_EQ(AIProvider(AIProvider::custom).label(), "Outro (compatível com OpenAI)");
    EXPECT_EQ(AIProvider(AIProvider::gemini).keyPage().path(), "/apikey");
    EXPECT_EQ(AIProvider(AIProvider::anthropic).defaultServerURL(), "https://api.anthropic.com/v1");
    EXPECT_EQ(AIProvider(AIProvider::chatgptAccount).defaultModel(), "padrão");
}

} // namespace
