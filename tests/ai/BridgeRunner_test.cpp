#include "ai/BridgeRunner.h"

#include "ai/BridgeFixture.h"

#include <QFileInfo>

namespace nolvea {
namespace {

using CLI = AccountBridge::CLI;
using BridgeError = AccountBridge::BridgeError;

class BridgeRunnerTest : public test::BridgeFixture {
protected:
    // The run's error message, with `done` set once it is known.
    static QCoro::Task<QString> failureOf(QCoro::Task<BridgeRun> run, bool* done) {
        QString message;
        try {
            co_await std::move(run);
        } catch (const BridgeError& e) {
            message = e.message();
        }
        *done = true;
        co_return message;
    }
};

TEST_F(BridgeRunnerTest, FeedsInputWhileDrainingBothOutputs) {
    // The child fills both pipes before it reads a byte: a runner that writes first, or reads
    // one output at a time, stalls here forever.
    const QString tool = writeScript(QStringLiteral("chatty"), R"(#!/bin/sh
head -c 1048576 /dev/zero
head -c 1048576 /dev/zero >&2
wc -c
)");
    const QByteArray input(3 * 1024 * 1024, 'x');
    const BridgeRun run = test::await(BridgeRunner::run(tool, {}, CLI::claude, input, 60));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err.size(), 1048576);
    EXPECT_TRUE(run.out.endsWith(QByteArray::number(input.size()) + '\n'));
}

TEST_F(BridgeRunnerTest, ChildThatStopsReadingDoesNotEndUs) {
    const QString tool = writeScript(QStringLiteral("deaf"), "#!/bin/sh\necho bye >&2\nexit 3\n");
    const BridgeRun run =
        test::await(BridgeRunner::run(tool, {}, CLI::codex, QByteArray(4 * 1024 * 1024, 'y'), 60));
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.errorText(), QStringLiteral("bye"));
}

TEST_F(BridgeRunnerTest, TimeoutEndsTheWholeProcessGroup) {
    const QString tool = writeScript(QStringLiteral("slow"), R"(#!/bin/sh
sleep 600 &
echo $! > "$FAKE_RECORD/helper"
echo $$ > "$FAKE_RECORD/leader"
wait
)");
    auto task = BridgeRunner::run(tool, {}, CLI::codex, std::nullopt, 120);
    ASSERT_TRUE(test::spinUntil([&] { return !readText(QStringLiteral("leader")).isEmpty(); }));
    m_clock.advance(std::chrono::seconds(119));
    EXPECT_TRUE(alive(QStringLiteral("leader")));
    m_clock.advance(std::chrono::seconds(1));
    try {
        test::await(std::move(task));
        FAIL() << "no timeout";
    } catch (const BridgeError& e) {
        EXPECT_EQ(e.kind(), BridgeError::Kind::failed);
        EXPECT_EQ(e.message(), QStringLiteral("Codex: não respondeu em 120 s"));
    }
    EXPECT_TRUE(test::spinUntil([&] { return !alive(QStringLiteral("helper")); }, 5000));
}

TEST_F(BridgeRunnerTest, ChildIgnoringTerminateIsKilledAfterTheGrace) {
    const QString tool = writeScript(QStringLiteral("stubborn"), R"(#!/bin/sh
trap '' TERM
echo $$ > "$FAKE_RECORD/leader"
while :; do sleep 1; done
)");
    bool done = false;
    auto task = failureOf(BridgeRunner::run(tool, {}, CLI::claude, std::nullopt, 20), &done);
    ASSERT_TRUE(test::spinUntil([&] { return !readText(QStringLiteral("leader")).isEmpty(); }));
    m_clock.advance(std::chrono::seconds(20));
    test::spinUntil([&] { return done; }, 300);
    EXPECT_FALSE(done);
    EXPECT_TRUE(alive(QStringLiteral("leader")));
    m_clock.advance(BridgeRunner::killGrace);
    EXPECT_EQ(test::await(std::move(task)), QStringLiteral("Claude Code: não respondeu em 20 s"));
    EXPECT_FALSE(alive(QStringLiteral("leader")));
}

TEST_F(BridgeRunnerTest, LaunchFailureIsReported) {
    const QString notExecutable = record() + QStringLiteral("/plain.txt");
    QFile(notExecutable).open(QIODevice::WriteOnly);
    try {
        test::await(BridgeRunner::run(notExecutable, {}, CLI::claude, std::nullopt, 5));
        FAIL() << "started";
    } catch (const BridgeError& e) {
        EXPECT_EQ(e.kind(), BridgeError::Kind::failed);
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("não foi possível iniciar")))
            << e.text().toStdString();
    }
}

TEST_F(BridgeRunnerTest, RunsInAPrivateWorkingFolder) {
    const QString tool = writeScript(QStringLiteral("where"), "#!/bin/sh\npwd\n");
    const BridgeRun run = test::await(BridgeRunner::run(tool, {}, CLI::claude, std::nullopt, 5));
    const QString folder = QString::fromUtf8(run.out).trimmed();
    EXPECT_TRUE(folder.endsWith(QStringLiteral("/nolvea-cli")));
    EXPECT_EQ(mode(folder), 0700);
}

TEST(BridgeRunTest, ErrorTextIsTheLastThreeNonEmptyLines) {
    const struct {
        QByteArray err;
        QString text;
    } cases[] = {
        {"", ""},
        {"one\n", "one"},
        {"a\n\nb\n\n\nc\nd\n\n", "b c d"},
        {"  padded  \n", "padded"},
        {"\xff\xfe oops\n", QString::fromUtf8("\xef\xbf\xbd\xef\xbf\xbd oops")},
    };
    for (const auto& c : cases) {
        BridgeRun run;
        run.err = c.err;
        EXPECT_EQ(run.errorText(), c.text) << c.err.constData();
    }
}

} // namespace
} // namespace nolvea
