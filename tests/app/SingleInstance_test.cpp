// One instance per user: the first start listens, a later one hands its arguments over and
// ends; what a crashed instance left behind does not block the next start; an instance that
// never answers is reported, not waited on forever.
#include "app/SingleInstance.h"
#include "support/Async.h"
#include "support/Printers.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using namespace nolvea;
using namespace std::chrono_literals;
using Role = SingleInstance::Role;

namespace {

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            test::home() + "/instance-" +
            QString::fromStdString(::testing::UnitTest::GetInstance()->current_test_info()->name());
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
    void TearDown() override { QDir(folder).removeRecursively(); }

    QString folder;
};

// The running instance lives on a thread of its own, so this thread can block in `claim` as
// a second process would.
class RunningInstance {
public:
    explicit RunningInstance(const QString& folder) {
        m_context.moveToThread(&m_thread);
        m_thread.start();
        QMetaObject::invokeMethod(
            &m_context,
            [this, folder] {
                m_instance = new SingleInstance(folder);
                m_role = m_instance->claim({});
                QObject::connect(m_instance, &SingleInstance::activated, &m_context,
                                 [this](const QStringList& args) {
                                     std::lock_guard lock(m_mutex);
                                     m_received << args;
                                 });
            },
            Qt::BlockingQueuedConnection);
    }
    ~RunningInstance() {
        QMetaObject::invokeMethod(
            &m_context, [this] { delete m_instance; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    Role role() const { return m_role; }
    QList<QStringList> received() {
        std::lock_guard lock(m_mutex);
        return m_received;
    }

private:
    QThread m_thread;
    QObject m_context;
    SingleInstance* m_instance = nullptr;
    Role m_role = Role::noAnswer;
    std::mutex m_mutex;
    QList<QStringList> m_received;
};

TEST_F(SingleInstanceTest, ALaterStartHandsItsArgumentsToTheFirst) {
    RunningInstance first(folder);
    ASSERT_EQ(first.role(), Role::primary);
    const QList<QStringList> sent{
        {},
        {"--onboarding"},
        {"", "ção ⌘", "linha\nquebrada"},
    };
    for (const QStringList& args : sent) {
        SingleInstance later(folder);
        EXPECT_EQ(later.claim(args), Role::forwarded);
        EXPECT_FALSE(later.isListening());
    }
    ASSERT_TRUE(test::spinUntil([&] { return first.received().size() == 3; }));
    const auto got = first.received();
    EXPECT_EQ(got[0], QStringList{});
    EXPECT_EQ(got[1], QStringList{"--onboarding"});
    EXPECT_EQ(got[2], (QStringList{"", "ção ⌘", "linha quebrada"}));
}

TEST_F(SingleInstanceTest, GarbageOnTheSocketIsDroppedWithoutActivating) {
    RunningInstance first(folder);
    ASSERT_EQ(first.role(), Role::primary);
    for (const QByteArray& junk :
         {QByteArray("abc\n"), QByteArray("-1\n"), QByteArray(70 * 1024, 'x')}) {
        QLocalSocket socket;
        socket.connectToServer(folder + "/nolvea.sock");
        ASSERT_TRUE(socket.waitForConnected(2000));
        socket.write(junk);
        socket.waitForBytesWritten(2000);
        EXPECT_TRUE(test::spinUntil([&] {
            socket.waitForReadyRead(20);
            return socket.state() == QLocalSocket::UnconnectedState;
        })) << junk.left(10).toStdString();
    }
    SingleInstance later(folder);
    EXPECT_EQ(later.claim({"ok"}), Role::forwarded) << "still serving after the garbage";
    ASSERT_TRUE(test::spinUntil([&] { return first.received().size() == 1; }));
}

TEST_F(SingleInstanceTest, WhatACrashedInstanceLeftDoesNotStopTheNextStart) {
    // The lock of a process that is gone, and its socket file.
    QProcess gone;
    gone.start("true", {});
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    QFile lock(folder + "/nolvea.lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid) + "\nnolvea\n" + QSysInfo::machineHostName().toUtf8() +
               "\n");
    lock.close();
    QFile socket(folder + "/nolvea.sock");
    ASSERT_TRUE(socket.open(QIODevice::WriteOnly));
    socket.close();

    SingleInstance next(folder, 300ms);
    EXPECT_EQ(next.claim({}), Role::primary);
    EXPECT_TRUE(next.isListening());
}

TEST_F(SingleInstanceTest, AnInstanceThatNeverAnswersIsReported) {
    // Alive (this very process holds the lock) but not listening.
    QLockFile held(folder + "/nolvea.lock");
    ASSERT_TRUE(held.tryLock(0));
    SingleInstance later(folder, 300ms);
    EXPECT_EQ(later.claim({}), Role::noAnswer);
    EXPECT_FALSE(later.isListening());
    EXPECT_FALSE(SingleInstance::noAnswerMessage().isEmpty());
}

TEST_F(SingleInstanceTest, AFolderWithoutRoomForALockStillStarts) {
    const QString file = folder + "/um-arquivo";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SingleInstance instance(file + "/dentro", 300ms); // a folder below a file cannot exist
    EXPECT_EQ(instance.claim({}), Role::primary);
}

} // namespace
