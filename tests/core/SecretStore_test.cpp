#include "core/SecretStore.h"
#include "core/UserDefaults.h"
#include "support/Async.h"
#include "support/Promise.h"
#include "support/TestEnvironment.h"
#include "support/json/JSONValue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>
#include <thread>

using namespace nolvea;

namespace {

class SecretStoreTest : public ::testing::Test {
protected:
    QString dir = test::home() + "/secrets";
    QString path = dir + "/segredos.json";
    UserDefaults defaults{dir + "/Nolvea.conf"};
    QMap<QString, QString> keychain;
    QStringList asked;
    bool answerLater = false; // the keyring answers when the test resolves `answers`
    std::vector<Promise<>> answers;
    std::unique_ptr<SecretStore> store = make();

    std::unique_ptr<SecretStore> make() {
        return std::make_unique<SecretStore>(path, defaults,
                                             [this](QString key) -> QCoro::Task<QString> {
                                                 asked.append(key);
                                                 if (answerLater) {
                                                     answers.emplace_back();
                                                     co_await Promise<>(answers.back());
                                                 }
                                                 co_return keychain.value(key);
                                             });
    }
    void migrate(const QStringList& keys) { test::await(store->migrateLegacy(keys)); }
    JSONValue file() const {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return JSONValue::parse(f.readAll()).value_or(JSONValue());
    }
    static int mode(const QString& p) {
        struct stat st {};
        ::stat(QFile::encodeName(p).constData(), &st);
        return st.st_mode & 0777;
    }
};

TEST_F(SecretStoreTest, WritesAPrivateObjectOfStrings) {
    store->write("sk-1", "apikey.openAI");
    store->write("sk-2", "apikey.groq");
    EXPECT_EQ(file(), JSONValue::object({{"apikey.openAI", "sk-1"}, {"apikey.groq", "sk-2"}}));
    EXPECT_EQ(mode(path), 0600);
    EXPECT_EQ(make()->read("apikey.groq"), "sk-2");
}

TEST_F(SecretStoreTest, AnEmptyValueDeletesTheKeyAndTheKeychainIsNotAsked) {
    keychain["apikey.openAI"] = "old";
    store->write("sk-1", "apikey.openAI");
    store->write("", "apikey.openAI");
    EXPECT_EQ(file(), JSONValue(JSONValue::Object{}));
    EXPECT_EQ(store->read("apikey.openAI"), "");
    migrate({"apikey.openAI"});
    EXPECT_EQ(store->read("apikey.openAI"), "");
    EXPECT_EQ(make()->read("apikey.openAI"), "");
    EXPECT_TRUE(asked.isEmpty());
}

TEST_F(SecretStoreTest, AMissingKeyIsLookedUpOnceAndTheFileIsLeftAlone) {
    EXPECT_EQ(store->read("apikey.groq"), "");
    EXPECT_TRUE(asked.isEmpty()) << "a read never waits for the keyring";
    migrate({"apikey.groq"});
    migrate({"apikey.groq"});
    store = make();
    migrate({"apikey.groq"});
    EXPECT_EQ(store->read("apikey.groq"), "");
    EXPECT_EQ(asked, QStringList{"apikey.groq"});
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(defaults.stringList(SecretStore::kMigratedKey).contains("apikey.groq"));
}

TEST_F(SecretStoreTest, AKeyFoundInTheKeychainMovesIntoTheFile) {
    keychain["apikey.gemini"] = "g-key";
    store->write("sk-1", "apikey.openAI");
    migrate({"apikey.openAI", "apikey.gemini"});
    EXPECT_EQ(asked, QStringList{"apikey.gemini"}) << "a key in the file needs no keyring";
    EXPECT_EQ(store->read("apikey.gemini"), "g-key");
    EXPECT_EQ(file(), JSONValue::object({{"apikey.gemini", "g-key"}, {"apikey.openAI", "sk-1"}}));
    EXPECT_EQ(mode(path), 0600);
    EXPECT_EQ(keychain.value("apikey.gemini"), "g-key"); // only ever read
}

// The keyring may take seconds (or wait for the person to unlock it): the store answers
// everyone else meanwhile, and what is written then is not overwritten by the old value.
TEST_F(SecretStoreTest, TheStoreStaysFreeWhileTheKeyringAnswers) {
    keychain["apikey.gemini"] = "old";
    keychain["apikey.groq"] = "old";
    keychain["apikey.openAI"] = "sk-old";
    answerLater = true;
    auto migrating = store->migrateLegacy({"apikey.gemini", "apikey.groq", "apikey.openAI"});
    ASSERT_EQ(asked, (QStringList{"apikey.gemini", "apikey.groq", "apikey.openAI"}));
    // From another thread, as any caller may: a held lock would never let it finish.
    std::thread writer([&] {
        store->write("new", "apikey.gemini");
        store->write("", "apikey.groq");
    });
    writer.join();
    EXPECT_EQ(store->read("apikey.gemini"), "new");
    EXPECT_FALSE(migrating.isReady());
    for (Promise<>& answer : std::vector<Promise<>>(answers))
        answer.resolve();
    ASSERT_TRUE(migrating.isReady());
    EXPECT_EQ(store->read("apikey.gemini"), "new");
    EXPECT_EQ(store->read("apikey.groq"), "") << "a cleared key stays cleared";
    EXPECT_EQ(store->read("apikey.openAI"), "sk-old");
    EXPECT_EQ(file(), JSONValue::object({{"apikey.gemini", "new"}, {"apikey.openAI", "sk-old"}}));
}

TEST_F(SecretStoreTest, ADeletedFileComesBackWholeAtTheNextWrite) {
    store->write("a", "k1");
    QFile::remove(path);
    EXPECT_EQ(store->read("k1"), "a");
    EXPECT_FALSE(QFile::exists(path));
    store->write("b", "k2");
    EXPECT_EQ(file(), JSONValue::object({{"k1", "a"}, {"k2", "b"}}));
}

TEST_F(SecretStoreTest, AnUnreadableFileIsKeptAsideNeverOverwritten) {
    const QList<QByteArray> bad = {"{not json", R"({"k": 3})", "[]"};
    for (const QByteArray& content : bad) {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
        store = make();
        EXPECT_EQ(store->read("k"), "");
        store->write("v", "other");
        const QStringList aside = QDir(dir).entryList({"segredos.json.bad-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1) << content.constData();
        QFile kept(dir + "/" + aside.first());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), content);
        EXPECT_EQ(file(), JSONValue::object({{"other", "v"}}));
        store->write("w", "third"); // moved once, not again
        EXPECT_EQ(QDir(dir).entryList({"segredos.json.bad-*"}, QDir::Files).size(), 1);
    }
}

// Whatever stops the file from being written is returned; the key serves until the program
// ends, and the next write that works stores it.
TEST_F(SecretStoreTest, AFailedWriteIsReturnedAndTheNextOneStoresAll) {
    // The folder of the file is a plain file: no one can write there, root included.
    QDir().mkpath(dir);
    const QString blocker = dir + "/bloqueio";
    const QString blockedPath = blocker + "/segredos.json";
    QFile plain(blocker);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    SecretStore blocked(blockedPath, defaults, {});
    const auto failed = blocked.write("sk-1", "apikey.openAI");
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->path(), blockedPath);
    EXPECT_EQ(failed->message(), "Não foi possível gravar o arquivo " + blockedPath + ".");
    EXPECT_EQ(blocked.read("apikey.openAI"), "sk-1");

    ASSERT_TRUE(QFile::remove(blocker));
    ASSERT_TRUE(QDir().mkpath(blocker));
    EXPECT_FALSE(blocked.write("sk-2", "apikey.groq"));
    EXPECT_EQ(SecretStore(blockedPath, defaults, {}).read("apikey.openAI"), "sk-1");
}

TEST_F(SecretStoreTest, ConcurrentCallersNeitherLoseNorTearWrites) {
    constexpr int kThreads = 8;
    constexpr int kPerThread = 40;
    std::vector<std::thread> threads;
    std::atomic<int> mismatches{0};
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                const QString key = QStringLiteral("k%1-%2").arg(t).arg(i);
                store->write(key + "-value", key);
                if (store->read(key) != key + "-value") ++mismatches;
            }
        });
    }
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(mismatches.load(), 0);
    EXPECT_EQ(file().asObject().size(), size_t(kThreads * kPerThread));
    EXPECT_EQ(mode(path), 0600);
}

} // namespace
