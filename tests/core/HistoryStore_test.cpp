#include "core/HistoryStore.h"
#include "support/Clock.h"
#include "support/TestEnvironment.h"
#include "support/fakes/ManualClock.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

class HistoryStoreTest : public ::testing::Test {
protected:
    QString dir = test::home() + "/history";
    QString path = dir + "/history.json";
    ManualClock clock{QDateTime(QDate(2026, 12, 9), QTime(8, 18, 30, 750), Qt::UTC)};

    void SetUp() override { Clock::install(&clock); }
    void TearDown() override { Clock::install(nullptr); }

    static HistoryEntry entry(const QString& transcript,
                              HistoryEntry::Kind kind = HistoryEntry::Kind::dictation) {
        return HistoryEntry::make(kind, "Editor", transcript, transcript.toUpper());
    }
    QList<HistoryEntry> reloaded() {
        HistoryStore again(path);
        return again.entries();
    }
    JSONValue file() {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) return {};
        return JSONValue::parse(f.readAll()).value_or(JSONValue());
    }
    void writeFile(const QByteArray& bytes) {
        QDir().mkpath(dir);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

TEST_F(HistoryStoreTest, KeepsTheNewest300NewestFirst) {
    HistoryStore store(path);
    for (int i = 1; i <= 301; ++i)
        store.add(entry(QString::number(i)));
    ASSERT_EQ(store.entries().size(), 300);
    EXPECT_EQ(store.entries().first().transcript, "301");
    EXPECT_EQ(store.entries().last().transcript, "2");
    store.flush();
    const auto back = reloaded();
    ASSERT_EQ(back.size(), 300);
    EXPECT_EQ(back.first().transcript, "301");
    EXPECT_EQ(back.last().transcript, "2");
}

TEST_F(HistoryStoreTest, SavesTheFileFormatAndComesBackInWholeSeconds) {
    HistoryStore store(path);
    const HistoryEntry e = entry("olá / mundo", HistoryEntry::Kind::agent);
    store.add(e);
    store.flush();
    const JSONValue saved = file();
    ASSERT_EQ(saved.asArray().size(), 1u);
    const JSONValue& obj = saved.asArray()[0];
    EXPECT_EQ(obj.asObject().size(), 6u);
    EXPECT_EQ(obj["date"]->asString(), "2026-12-09T08:18:30Z");
    EXPECT_EQ(obj["kind"]->asString(), "agent");
    EXPECT_EQ(obj["id"]->asString(), e.id.toString(QUuid::WithoutBraces).toUpper());
    const auto back = reloaded();
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].id, e.id);
    EXPECT_EQ(back[0].date, QDateTime(QDate(2026, 12, 9), QTime(8, 18, 30), Qt::UTC));
    EXPECT_EQ(back[0].transcript, "olá / mundo");
    EXPECT_EQ(back[0].output, "OLÁ / MUNDO");
}

TEST_F(HistoryStoreTest, RemoveAndClearRewriteTheFile) {
    HistoryStore store(path);
    const HistoryEntry a = entry("a"), b = entry("b");
    store.add(a);
    store.add(b);
    QSignalSpy spy(&store, &HistoryStore::entriesChanged);
    store.remove(entry("not there"));
    EXPECT_EQ(spy.count(), 0);
    store.flush();
    EXPECT_EQ(reloaded().size(), 2);
    store.remove(a);
    EXPECT_EQ(spy.count(), 1);
    store.flush();
    ASSERT_EQ(reloaded().size(), 1);
    EXPECT_EQ(reloaded()[0].id, b.id);
    store.clear();
    store.flush();
    EXPECT_EQ(file(), JSONValue(JSONValue::Array{}));
    EXPECT_TRUE(reloaded().isEmpty());
}

TEST_F(HistoryStoreTest, AnUnreadableHistoryStartsEmptyAndIsKeptAside) {
    const QByteArray valid =
        R"({"id":"6F9619FF-8B86-D011-B42D-00C04FC964FF","date":"2026-12-09T08:18:30Z","kind":"dictation","appName":"a","transcript":"t","output":"o"})";
    QByteArray badKind = valid;
    badKind.replace("\"dictation\"", "\"poem\"");
    QByteArray missingKey = valid;
    missingKey.replace(R"(,"output":"o")", "");
    const QList<QByteArray> cases = {"[" + badKind + "]", "[" + missingKey + "]", "{}", "[1",
                                     "[" + valid + "," + badKind + "]"};
    for (const QByteArray& content : cases) {
        QDir(dir).removeRecursively();
        writeFile(content);
        HistoryStore store(path);
        EXPECT_TRUE(store.entries().isEmpty()) << content.constData();
        store.add(entry("new"));
        store.add(entry("newer"));
        store.flush();
        const QStringList aside = QDir(dir).entryList({"history.json.bad-*"}, QDir::Files);
        ASSERT_EQ(aside.size(), 1) << content.constData();
        QFile kept(dir + "/" + aside.first());
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), content);
        EXPECT_EQ(reloaded().size(), 2);
    }
    QDir(dir).removeRecursively();
    writeFile("[" + valid + "]");
    EXPECT_EQ(reloaded().size(), 1);
}

TEST_F(HistoryStoreTest, QuickChangesEndWithTheNewestListOnDisk) {
    HistoryStore store(path);
    for (int i = 0; i < 200; ++i)
        store.add(entry(QString::number(i)));
    store.remove(store.entries().first());
    store.flush();
    const auto back = reloaded();
    ASSERT_EQ(back.size(), 199);
    EXPECT_EQ(back.first().transcript, "198");
}

TEST_F(HistoryStoreTest, CountsWordsOfTranscriptsOnly) {
    HistoryStore store(path);
    store.add(HistoryEntry::make(HistoryEntry::Kind::dictation, "App Name",
                                 "  um   dois\ntrês\u00A0quatro  ", "x y z"));
    store.add(HistoryEntry::make(HistoryEntry::Kind::agent, "x", "", "answer"));
    store.add(HistoryEntry::make(HistoryEntry::Kind::edit, "x", "\t\n", "answer"));
    EXPECT_EQ(store.totalWords(), 4);
}

} // namespace
