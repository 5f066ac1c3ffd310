#include "platform/linux/KeyringLegacyKeychain.h"
#include "support/Async.h"
#include "support/TestEnvironment.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <qt6keychain/keychain.h>

#include <dlfcn.h>

using namespace nolvea;

namespace {

// A real keyring daemon on the session bus, unlocked with a throwaway password, that lives
// exactly as long as the test: it takes the bus name from any daemon started before (one an
// earlier request started, locked) and gives it up at the end. A daemon left running would
// outlive the test's home, and the next one could not take its place.
class KeyringDaemon {
public:
    bool start() {
        m_daemon.start("gnome-keyring-daemon",
                       {"--replace", "--foreground", "--unlock", "--components=secrets"});
        if (!m_daemon.waitForStarted(5000)) return false;
        m_daemon.write("test-password");
        m_daemon.closeWriteChannel();
        // It prints its environment once it runs; the bus name is its from then on.
        QByteArray said;
        while (!said.contains("GNOME_KEYRING_CONTROL=") && m_daemon.waitForReadyRead(10000))
            said += m_daemon.readAllStandardOutput();
        return said.contains("GNOME_KEYRING_CONTROL=");
    }
    ~KeyringDaemon() {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) m_daemon.kill();
        m_daemon.waitForFinished();
        forgetSession();
    }

private:
    // The keychain library's secret-service client keeps, for the whole process, the session
    // it opened with the first daemon it met; with that daemon gone every later call fails.
    // Dropping it lets the next daemon (the next test, or a repeat) be met afresh.
    static void forgetSession() {
        void* secret = dlopen("libsecret-1.so.0", RTLD_LAZY | RTLD_NOLOAD);
        if (!secret) return; // not loaded: the library talks to the daemon some other way
        using Disconnect = void (*)();
        if (auto disconnect =
                reinterpret_cast<Disconnect>(dlsym(secret, "secret_service_disconnect")))
            disconnect();
        dlclose(secret);
    }

    QProcess m_daemon;
};

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
    KeyringDaemon daemon;
    ASSERT_TRUE(daemon.start());
    // The login collection exists once the daemon has read the password.
    ASSERT_TRUE(test::spinUntil([] { return store("Falantorix", "apikey.openAI", "sk-olá"); }));
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
