#include "support/Printers.h"
#include "support/json/JSONValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using nolvea::JSONValue;

namespace {

std::optional<JSONValue> parse(const char* utf8) {
    return JSONValue::parse(QByteArray(utf8));
}

JSONValue num(double d) {
    return JSONValue::number(d);
}

QByteArray nested(int depth) {
    return QByteArray(depth, '[') + QByteArray(depth, ']');
}

} // namespace

TEST(JSONValue, ParsesEveryKindOfValue) {
    struct Case {
        const char* text;
        JSONValue expected;
    };
    const Case cases[] = {
        {"1", num(1)},
        {"true", true},
        {"false", false},
        {R"("1")", "1"},
        {"null", JSONValue()},
        {" \t\r\n 0 \n", num(0)},
        {"-0", num(-0.0)},
        {"-12.5e-1", num(-1.25)},
        {"1E2", num(100)},
        {"1e+2", num(100)},
        {"0.000001", num(1e-6)},
        {"123456789012345678901234567890", num(1.2345678901234568e29)},
        // Beyond what a double holds: too large saturates, too small is zero, not infinity.
        {"1e400", num(HUGE_VAL)},
        {"-0.5e309", num(-HUGE_VAL)},
        {"1e-400", num(0)},
        {"-1e-400", num(-0.0)},
        {"1000e-330", num(0)},
        {"0.0001e-321", num(0)},
        {"[1e-999999999999]", JSONValue::array({num(0)})},
        {"[]", JSONValue::Array{}},
        {"{}", JSONValue::Object{}},
        {R"({"a":[1,"x",null,{"b":false}]})",
         JSONValue::object(
             {{"a", JSONValue::array({num(1), "x", nullptr, JSONValue::object({{"b", false}})})}})},
        {R"({"k":1,"k":2})", JSONValue::object({{"k", num(2)}})}, // the last one wins
        {R"([ 1 , [ ] , { } ])",
         JSONValue::array({num(1), JSONValue::Array{}, JSONValue::Object{}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = parse(c.text);
        ASSERT_TRUE(v);
        EXPECT_EQ(*v, c.expected);
    }
    // Every number is a double, 0 and 1 included.
    EXPECT_TRUE(parse("0")->isNumber());
    EXPECT_TRUE(std::signbit(*parse("-0")->asNumber()));
}

TEST(JSONValue, RejectsBadInputWithoutThrowing) {
    const char* cases[] = {
        "",       " ",        "{",          "[1,]",     R"({"a":1,})", "01",
        "1.",     ".5",       "-",          "+1",       "1e",          "1e+",
        "NaN",    "Infinity", "-Infinity",  "tru",      "nul",         "True",
        "'a'",    "{a:1}",    R"({"a" 1})", R"({1:2})", "1 2",         "[1 2]",
        "[1]]",   "// x\n1",  "\"a",        "\"\\x\"",  "\"\\u12\"",   "\"\\u12G4\"",
        "\"\t\"", "\"\n\"",   "[\"a\",]",   "\"\\\"",   "0x10",        "1_000",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parse(text));
    }
}

TEST(JSONValue, DecodesEscapes) {
    struct Case {
        const char* text;
        QString expected;
    };
    const Case cases[] = {
        {R"("a\"b\\c\/d")", QStringLiteral("a\"b\\c/d")},
        {R"("\b\f\n\r\t")", QStringLiteral("\b\f\n\r\t")},
        {R"("\u00e9\u00C9")", QStringLiteral("éÉ")},
        {R"("\ud83d\ude00")", QStringLiteral("😀")},
        {"\"😀 ação\"", QStringLiteral("😀 ação")},
        {R"("\u0000")", QString(QChar(0))},
        // A lone half of a pair cannot stand in text.
        {R"("\ud83d")", QString(QChar::ReplacementCharacter)},
        {R"("\ude00x")", QString(QChar::ReplacementCharacter) + u'x'},
        {R"("\ud83d\u0041")", QString(QChar::ReplacementCharacter) + u'A'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto v = parse(c.text);
        ASSERT_TRUE(v);
        EXPECT_EQ(v->asString(), c.expected);
    }
}

TEST(JSONValue, WritesCompactSortedTextWithBareSlashes) {
    struct Case {
        JSONValue value;
        const char* json;
    };
    const Case cases[] = {
        {JSONValue::object({{"b", num(1)}, {"a", num(2)}, {"B", num(3)}, {"aa", num(4)}}),
         R"({"B":3,"a":2,"aa":4,"b":1})"},
        {"https://x.y/z", R"("https://x.y/z")"},
        {QStringLiteral("aspas \" barra \\ linha\n tab\t cr\r bs\b ff\f"),
         R"("aspas \" barra \\ linha\n tab\t cr\r bs\b ff\f")"},
        {QString(QChar(0x1f)) + QChar(0), R"("\u001f\u0000")"},
        {QStringLiteral("ação 😀 \u2028"), "\"ação 😀 \u2028\""},
        {JSONValue::array({nullptr, true, false, JSONValue::Array{}, JSONValue::Object{}}),
         "[null,true,false,[],{}]"},
        {JSONValue(), "null"},
        {"", R"("")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(c.value.compactString(), QString::fromUtf8(c.json));
        // What is written reads back as the same value.
        EXPECT_EQ(JSONValue::parse(c.value.compactBytes()), c.value);
    }
}

// Strings go out as their UTF-8, escapes aside, however long and wherever a pair of
// surrogates falls; a lone surrogate becomes "?". The text form says the same.
TEST(JSONValue, WritesEveryStringAsItsUtf8) {
    const QString smile = QStringLiteral("😀");
    const QChar high(0xd83d), low(0xde00);
    struct Case {
        const char* name;
        QString text;
    };
    const Case cases[] = {
        {"a pair across the writer's pieces", QString(1023, u'a') + smile + QString(2000, u'b')},
        {"a pair at the very end of a piece", QString(1022, u'a') + smile},
        {"long text with accents", QStringLiteral("ação, coração, São Paulo — ").repeated(500)},
        {"a high surrogate last", QStringLiteral("fim") + high},
        {"a low surrogate alone", QString(low) + QStringLiteral("x")},
        {"a high surrogate before a letter", QString(high) + QStringLiteral("x")},
        {"two high surrogates, then a pair", QString(high) + smile},
        {"three-byte characters", QStringLiteral("€ ✓ 中文 \uffff")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray utf8 = '"' + c.text.toUtf8() + '"';
        EXPECT_EQ(JSONValue(c.text).compactBytes(), utf8);
        EXPECT_EQ(JSONValue(c.text).compactString(), QString::fromUtf8(utf8));
    }
    // Escapes in a long text keep their place.
    const QString mixed = QStringLiteral("linha\n\"aspas\"\t").repeated(300);
    EXPECT_EQ(JSONValue::parse(JSONValue(mixed).compactBytes())->asString(), mixed);
}

TEST(JSONValue, WritesNumbersByTheIntegerRule) {
    struct Case {
        double value;
        const char* json;
    };
    const Case cases[] = {
        {2.0, "2"},
        {3.0, "3"},
        {16000.0, "16000"},
        {-7.0, "-7"},
        {-0.0, "0"},
        {0.5, "0.5"},
        {0.1, "0.1"},
        {-2.25, "-2.25"},
        {999999999999999.0, "999999999999999"},
        {-999999999999999.0, "-999999999999999"},
        {1e15, "1e+15"}, // from 1e15 on, the double form
        {-1e15, "-1e+15"},
        {1e300, "1e+300"},
        {123456.789, "123456.789"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        EXPECT_EQ(num(c.value).compactString(), QString::fromUtf8(c.json));
        EXPECT_EQ(*JSONValue::parse(num(c.value).compactBytes()), num(c.value));
    }
    // Small and awkward doubles round-trip exactly.
    for (double d : {1.5e-7, 5e-324, 0.30000000000000004, 1.7976931348623157e308}) {
        SCOPED_TRACE(d);
        EXPECT_EQ(*JSONValue::parse(num(d).compactBytes())->asNumber(), d);
    }
    // What JSON cannot carry makes the whole text "null", never a crash.
    for (double d : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        EXPECT_EQ(num(d).compactString(), QStringLiteral("null"));
        EXPECT_EQ(JSONValue::array({num(1), JSONValue::object({{"x", num(d)}})}).compactString(),
                  QStringLiteral("null"));
    }
}

TEST(JSONValue, StringValueGivesTheTextForm) {
    struct Case {
        JSONValue value;
        std::optional<QString> expected;
    };
    const Case cases[] = {
        {num(3.0), "3"},
        {num(3.5), "3.5"},
        {num(-0.0), "0"},
        {num(42), "42"},
        {num(-7), "-7"},
        {num(1e15), "1000000000000000"}, // integral: no fraction, unlike the writer
        {num(4611686018427387904.0), "4611686018427387904"},
        {num(1e20), "1e+20"}, // beyond 64 bits: the double's form
        {num(HUGE_VAL), "inf"},
        {num(std::nan("")), "nan"},
        {num(0.1), "0.1"},
        {true, "true"},
        {false, "false"},
        {"  texto  ", "  texto  "},
        {JSONValue::array({"a"}), std::nullopt},
        {JSONValue::Object{}, std::nullopt},
        {JSONValue(), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.compactString().toStdString());
        EXPECT_EQ(c.value.stringValue(), c.expected);
    }
}

TEST(JSONValue, ComparesByCaseAndPayload) {
    const double nan = std::nan("");
    EXPECT_EQ(num(1), num(1.0));
    EXPECT_NE(JSONValue(true), num(1));
    EXPECT_NE(JSONValue("1"), num(1));
    EXPECT_NE(JSONValue(), JSONValue(false));
    EXPECT_EQ(JSONValue(), JSONValue());
    EXPECT_NE(num(nan), num(nan));
    EXPECT_EQ(num(0.0), num(-0.0));
    EXPECT_EQ(*parse(R"({"a":1,"b":[1,2]})"), *parse(R"({"b":[1,2],"a":1.0})"));
    EXPECT_NE(*parse("[1,2]"), *parse("[2,1]"));
    EXPECT_NE(*parse(R"({"a":1})"), *parse(R"({"a":1,"b":null})"));
}

TEST(JSONValue, SubscriptFindsObjectMembersOnly) {
    const auto obj = *parse(R"({"a":null,"0":1})");
    EXPECT_EQ(obj[QStringLiteral("a")], JSONValue());
    EXPECT_EQ(obj[QStringLiteral("0")], num(1));
    EXPECT_FALSE(obj[QStringLiteral("b")]);
    EXPECT_FALSE((*parse("[1]"))[QStringLiteral("0")]);
    EXPECT_FALSE(JSONValue("abc")[QStringLiteral("0")]);
    EXPECT_FALSE(JSONValue()[QStringLiteral("a")]);
}

TEST(JSONValue, NestingIsBoundedWithoutExhaustingTheStack) {
    EXPECT_TRUE(JSONValue::parse(nested(512)));
    EXPECT_FALSE(JSONValue::parse(nested(513)));
    EXPECT_FALSE(JSONValue::parse(QByteArray(1'000'000, '[')));
    QByteArray objects;
    for (int i = 0; i < 600; ++i)
        objects += R"({"a":)";
    objects += "1" + QByteArray(600, '}');
    EXPECT_FALSE(JSONValue::parse(objects));
    // What was read can be written back at the deepest level allowed.
    EXPECT_EQ(JSONValue::parse(nested(512))->compactBytes(), nested(512));
}

TEST(JSONValue, ParsesTextAndBytesAlike) {
    const QString text = QStringLiteral(R"({"texto":"ação 😀"})");
    EXPECT_EQ(JSONValue::parse(text), JSONValue::parse(text.toUtf8()));
    EXPECT_EQ(JSONValue::parse(text)->member(QStringLiteral("texto"))->asString(),
              QStringLiteral("ação 😀"));
}
