#include "core/AgentLog.h"
#include "support/Clock.h"
#include "support/Graphemes.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

const QDateTime kWhen(QDate(2026, 12, 9), QTime(8, 18, 30, 750), Qt::UTC);

TEST(AgentLogRecord, StampsCutsAndJoinsLines) {
    const QString stamp = "2026-12-09T08:18:30 ";
    struct Case {
        QString line;
        QString expected;
    };
    const QList<Case> cases = {
        {"", stamp + "\n"},
        {"a\nb", stamp + "a \u23CE b\n"},
        {"a\r\nb", stamp + "a\r \u23CE b\n"},
        {QString(5000, u'x'), stamp + QString(1200, u'x') + "\n"},
        {QString(1199, u'x') + "\n", stamp + QString(1199, u'x') + " \n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AgentLog::record(kWhen, c.line), c.expected);
    // Characters, not code units: 1,200 flags stay whole.
    const QString flag = QString::fromUtf8("\xF0\x9F\x87\xA7\xF0\x9F\x87\xB7");
    const QString rec = AgentLog::record(kWhen, flag.repeated(1300));
    EXPECT_EQ(Graphemes::count(rec), 20 + 1200 + 1);
}

class AgentLogTest : public ::testing::Test {
protected:
    QString path = test::home() + "/log/agent.log";
    ManualClock clock{kWhen};
    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }
    QByteArray contents() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(test::home() + "/log");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(AgentLogTest, AppendsRecordsInOrder) {
    AgentLog log(path);
    log.append("pedido: que horas são");
    clock.advance(std::chrono::seconds(2));
    log.append("fim");
    log.flush();
    EXPECT_EQ(QString::fromUtf8(contents()),
              "2026-12-09T08:18:30 pedido: que horas são\n2026-12-09T08:18:32 fim\n");
}

TEST_F(AgentLogTest, CutsBackToTheLast150000CharactersPast200000) {
    writeFile(QByteArray(199990, 'a'));
    AgentLog log(path);
    log.append(QString()); // 21 characters: 200,011 in all
    log.flush();
    const QByteArray text = contents();
    EXPECT_EQ(text.size(), 150000);
    EXPECT_TRUE(text.endsWith("2026-12-09T08:18:30 \n"));

    writeFile(QByteArray(199979, 'a'));
    log.append(QString()); // exactly 200,000: kept whole
    log.flush();
    EXPECT_EQ(contents().size(), 200000);
}

TEST_F(AgentLogTest, AFileThatIsNotUtf8StartsOver) {
    writeFile(QByteArray("old\xff\xfe line\n"));
    AgentLog log(path);
    log.append("novo");
    log.flush();
    EXPECT_EQ(contents(), "2026-12-09T08:18:30 novo\n");
}

} // namespace
