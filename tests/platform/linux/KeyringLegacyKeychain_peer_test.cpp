#include "platform/linux/KeyringLegacyKeychain.h"
#include "support/Async.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <qt6keychain/keychain.h>

using namespace nolvea;

namespace {

// A real keyring daemon on the session bus, unlocked with a throwaway password. It takes the
// place of one that an earlier test's request started, locked, on the same bus.
bool startKeyring() {
    QProcess daemon;
    daemon.start("gnome-keyring-daemon", {"--replace", "--unlock", "--components=secrets"});
    if (!daemon.waitForStarted(5000)) return false;
    daemon.write("test-password");
    daemon.closeWriteChannel();
    return daemon.waitForFinished(10000) && daemon.exitCode() == 0;
}

bool store(const QString& service, const QString& account, const QString& secret) {
    QKeychain::WritePasswordJob job(service);
    job.setAutoDelete(false);
    job.setKey(account);
    job.setTextData(secret);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    return job.error() == QKeychain::NoError;
}

TEST(KeyringLegacyKeychain, ReadsWhatTheKeyringHolds) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) GTEST_SKIP() << "no session bus";
    ASSERT_TRUE(startKeyring());
    // The daemon settles its collection after it returns: give it a moment.
    bool stored = false;
    for (int attempt = 0; attempt < 50 && !stored; ++attempt) {
        stored = store("Falantorix", "apikey.openAI", "sk-olá");
        if (!stored) QThread::msleep(100);
    }
    ASSERT_TRUE(stored);
    KeyringLegacyKeychain keychain;
    // The answer comes through the event loop the caller already runs, not a loop of its own.
    auto reading = keychain.read("Falantorix", "apikey.openAI");
    EXPECT_FALSE(reading.isReady());
    EXPECT_EQ(test::await(std::move(reading)), "sk-olá");
    EXPECT_EQ(test::await(keychain.read("Falantorix", "apikey.groq")), "");
    EXPECT_EQ(test::await(keychain.read("Outro", "apikey.openAI")), "");
}

TEST(KeyringLegacyKeychain, NoSecretServiceReadsAsNothing) {
    // The process keeps the session bus it connected to first: the read without one runs in
    // a fresh copy of this program.
    if (qEnvironmentVariableIsSet("NOLVEA_TEST_NO_BUS")) {
        KeyringLegacyKeychain keychain;
        EXPECT_EQ(test::await(keychain.read("Falantorix", "apikey.openAI")), "");
        return;
    }
    QProcess child;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert("NOLVEA_TEST_NO_BUS", "1");
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + test::home() + "/no-bus");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {"--gtest_filter=KeyringLegacyKeychain.NoSecretServiceReadsAsNothing"});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitCode(), 0) << child.readAll().constData();
}

} // namespace
