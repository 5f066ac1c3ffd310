#include "agent/AgentDate.h"
#include "agent/AgentTool.h"
#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "core/ActionPreview.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"
#include "support/json/Schema.h"

#include "support/Printers.h"
#include <QTimeZone>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace nolvea;

TEST(Schema, BuildsTypedObjects) {
    EXPECT_EQ(Schema::string("Texto").compactString(),
              QStringLiteral(R"({"description":"Texto","type":"string"})"));
    EXPECT_EQ(Schema::boolean("Só abrir").compactString(),
              QStringLiteral(R"({"description":"Só abrir","type":"boolean"})"));
    EXPECT_EQ(Schema::object({}).compactString(),
              QStringLiteral(R"({"properties":{},"required":[],"type":"object"})"));
    const auto schema =
        Schema::object({{"b", Schema::string("B")}, {"a", Schema::boolean("A")}}, {"b", "a"});
    EXPECT_EQ(schema[QStringLiteral("required")], JSONValue::array({"b", "a"}));
    EXPECT_EQ(schema[QStringLiteral("properties")]->asObject().size(), 2u);
}

TEST(ToolArguments, OptionalAndRequiredReadTrimmedText) {
    const auto args = *JSONValue::parse(QByteArray(
        R"({"blank":"  ","n":3,"f":2.5,"t":true,"list":[1],"obj":{},"nul":null,"s":"\n oi \t"})"));
    struct Case {
        const char* key;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {"blank", std::nullopt},
        {"n", "3"},
        {"f", "2.5"},
        {"t", "true"},
        {"list", std::nullopt},
        {"obj", std::nullopt},
        {"nul", std::nullopt},
        {"s", "oi"},
        {"absent", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const QString key = QString::fromUtf8(c.key);
        EXPECT_EQ(args.optional(key), c.expected);
        if (c.expected) {
            EXPECT_EQ(requiredArgument(args, key), *c.expected);
        } else {
            try {
                requiredArgument(args, key);
                ADD_FAILURE() << "no error";
            } catch (const ToolError& e) {
                EXPECT_EQ(e.kind(), ToolError::Kind::missing);
                EXPECT_EQ(e.message(), QStringLiteral("Faltou o campo \"%1\".").arg(key));
            }
        }
    }
    // Arguments that are not an object have no keys at all.
    for (const auto& notObject : {JSONValue("n"), JSONValue::array({"n"}), JSONValue()}) {
        EXPECT_FALSE(notObject.optional(QStringLiteral("n")));
        EXPECT_THROW(requiredArgument(notObject, QStringLiteral("n")), ToolError);
    }
}

TEST(ActionPreview, EqualOnlyWhenEveryFieldIs) {
    const ActionPreview base{.symbol = "envelope",
                             .title = "Enviar e-mail",
                             .details = {"Para: a@b.com"},
                             .email = EmailDraft{.subject = "Oi"}};
    EXPECT_EQ(base, base);
    auto other = base;
    other.alternateLabel = QStringLiteral("Só abrir");
    EXPECT_NE(base, other);
    other = base;
    other.editableValue = QStringLiteral("x");
    EXPECT_NE(base, other);
    other = base;
    other.email->subject = QStringLiteral("Olá");
    EXPECT_NE(base, other);
}

TEST(AgentTool, CarriesPreviewAndRun) {
    AgentTool tool{.name = "calc",
                   .description = "Calcula",
                   .parameters = Schema::object({{"expr", Schema::string("Expressão")}}, {"expr"}),
                   .kind = AgentTool::Kind::read,
                   .symbol = "function",
                   .progress = "Calculando…",
                   .group = "Utilidades",
                   .preview = [](const JSONValue&) { return ActionPreview{.title = "Calcular"}; },
                   .run = [](JSONValue args) -> QCoro::Task<QString> {
                       co_return requiredArgument(args, QStringLiteral("expr"));
                   }};
    const auto copy = tool; // a value: copies share nothing that matters
    EXPECT_EQ(copy.preview({}).title, QStringLiteral("Calcular"));
    const auto args = JSONValue::object({{"expr", " 1+1 "}});
    EXPECT_EQ(test::await(copy.run(args)), QStringLiteral("1+1"));
    EXPECT_THROW(test::await(copy.run(JSONValue::object({}))), ToolError);
}

namespace {

// Runs a test in a given time zone and puts the old one back.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

class AgentDateTest : public ::testing::Test {
protected:
    void TearDown() override { Clock::install(nullptr); }
    // Fixes "now" at a local wall-clock time.
    void setNow(QDate day, QTime time) {
        m_clock = std::make_unique<ManualClock>(QDateTime(day, time).toUTC());
        Clock::install(m_clock.get());
    }
    std::unique_ptr<ManualClock> m_clock;
};

} // namespace

TEST_F(AgentDateTest, ParsesTheAcceptedForms) {
    ZoneGuard zone("America/Sao_Paulo");
    const QDate day(2025, 3, 10);
    struct Case {
        const char* text;
        std::optional<QDateTime> expected;
    };
    const Case cases[] = {
        {"2025-03-10", QDateTime(day, QTime(0, 0))},
        {"2025-03-10T15:00:00Z", QDateTime(day, QTime(15, 0), Qt::UTC)},
        {"2025-03-10T15:00:00+01:00", QDateTime(day, QTime(14, 0), Qt::UTC)},
        {"2025-03-10T15:00:00.250Z", QDateTime(day, QTime(15, 0, 0, 250), Qt::UTC)},
        {"2025-03-10T15:00:00", QDateTime(day, QTime(15, 0))},
        {"2025-03-10T15:00", QDateTime(day, QTime(15, 0))},
        {"2025-03-10 15:00", QDateTime(day, QTime(15, 0))},
        {" 2025-03-10", std::nullopt},
        {"2025-03-10 ", std::nullopt},
        {"10/03/2025", std::nullopt},
        {"2025-13-01", std::nullopt},
        {"amanhã", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto got = AgentDate::parse(QString::fromUtf8(c.text));
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->toMSecsSinceEpoch(), c.expected->toMSecsSinceEpoch());
        }
    }
    // Local forms are read in the machine's zone: 15:00 in São Paulo is 18:00 UTC.
    EXPECT_EQ(AgentDate::parse(QStringLiteral("2025-03-10 15:00"))->toUTC().time(), QTime(18, 0));
}

TEST_F(AgentDateTest, DescribesNowAndTheComingDaysInPortuguese) {
    ZoneGuard zone("America/Sao_Paulo");
    setNow(QDate(2025, 3, 10), QTime(9, 5)); // a Monday
    EXPECT_EQ(AgentDate::nowDescription(),
              QStringLiteral("segunda-feira, 10/03/2025 09:05 — ISO 2025-03-10T09:05:00-03:00 — "
                             "fuso America/Sao_Paulo"));
    const QStringList days = AgentDate::upcomingDays().split(QStringLiteral(", "));
    ASSERT_EQ(days.size(), 8);
    EXPECT_EQ(days[0], QStringLiteral("seg 10/03/2025 (hoje)"));
    EXPECT_EQ(days[1], QStringLiteral("ter 11/03/2025 (amanhã)"));
    EXPECT_EQ(days[7], QStringLiteral("seg 17/03/2025"));
    for (const auto& d : days)
        EXPECT_FALSE(d.contains(u'.')) << d.toStdString();
}

TEST_F(AgentDateTest, DescribesDatesRelativeToToday) {
    ZoneGuard zone("America/Sao_Paulo");
    setNow(QDate(2025, 3, 10), QTime(23, 30));
    const QDate today(2025, 3, 10);
    EXPECT_EQ(AgentDate::describe(QDateTime(today, QTime(9, 5)), false),
              QStringLiteral("hoje às 09:05"));
    EXPECT_EQ(AgentDate::describe(QDateTime(today.addDays(1), QTime(0, 0)), true),
              QStringLiteral("amanhã (dia inteiro)"));
    // A UTC instant is described in local time: 01:00 UTC on the 11th is 22:00 on the 10th.
    EXPECT_EQ(AgentDate::describe(QDateTime(today.addDays(1), QTime(1, 0), Qt::UTC), false),
              QStringLiteral("hoje às 22:00"));
    EXPECT_EQ(AgentDate::describe(QDateTime(QDate(2025, 3, 14), QTime(8, 0)), false),
              QStringLiteral("sexta-feira, 14 de mar. às 08:00"));
}

TEST_F(AgentDateTest, UtcZoneWritesZ) {
    ZoneGuard zone("UTC");
    setNow(QDate(2026, 1, 1), QTime(0, 0));
    EXPECT_TRUE(AgentDate::nowDescription().contains(QStringLiteral("ISO 2026-01-01T00:00:00Z")));
}
