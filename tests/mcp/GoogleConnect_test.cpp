// Google Workspace connection: account detection over a scripted calendar store (Linux has
// no calendar-account store of its own), the OAuth client file and the "google" entry.
#include "mcp/GoogleConnect.h"
#include "platform/FilePicker.h"
#include "platform/Platform.h"
#include "support/Async.h"
#include "support/Clock.h"
#include "support/fakes/ManualClock.h"

#include "support/TestEnvironment.h"
#include "support/fakes/FakeCalendarAccounts.h"
#include "support/fakes/FakeFilePicker.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace nolvea {
namespace {

using Authorization = CalendarAccounts::Authorization;
using Source = CalendarAccounts::Source;
using Type = Source::Type;

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

class GoogleFixture : public ::testing::Test {
protected:
    GoogleFixture()
        : calendar(std::make_shared<test::FakeCalendarAccounts>())
        , manager(test::home() + QStringLiteral("/dados/mcp.json")) {}
    std::unique_ptr<GoogleConnect> connect() {
        return std::make_unique<GoogleConnect>(calendar, manager);
    }

    std::shared_ptr<test::FakeCalendarAccounts> calendar;
    MCPManager manager;
};

TEST_F(GoogleFixture, FindsGoogleAccountsByTheirAddresses) {
    calendar->list = {
        {Type::calDAV, "Google", {"Feriados", "ana@gmail.com"}},
        {Type::calDAV, "Google", {"ana@gmail.com"}},              // the same account again
        {Type::calDAV, "Bia <bia@gmail.com>", {"bia@gmail.com"}}, // a blank: not an address
        {Type::exchange, "Trabalho", {"Agenda", "chefe@GMAIL.COM"}},
        {Type::local, "Google", {"local@gmail.com"}}, // not an account source
        {Type::calDAV, "iCloud", {"eu@icloud.com"}},  // not Google
    };
    auto google = connect();
    google->refresh();
    EXPECT_EQ(google->macAccounts(),
              QStringList({"ana@gmail.com", "bia@gmail.com", "chefe@GMAIL.COM"}));
    EXPECT_FALSE(google->hasUnnamedAccount());
    EXPECT_EQ(google->calendarAccess(), Authorization::fullAccess);
}

TEST_F(GoogleFixture, AGmailSourceWithoutAddressIsUnnamed) {
    calendar->list = {{Type::exchange, "Gmail", {"Agenda", "Feriados no Brasil"}}};
    auto google = connect();
    QSignalSpy unnamed(google.get(), &GoogleConnect::hasUnnamedAccountChanged);
    google->refresh();
    EXPECT_TRUE(google->hasUnnamedAccount());
    EXPECT_TRUE(google->macAccounts().isEmpty());
    google->refresh();
    EXPECT_EQ(unnamed.count(), 1) << "observers hear of changes only";
}

TEST_F(GoogleFixture, WithoutFullAccessOnlyTheStateChanges) {
    calendar->list = {{Type::calDAV, "Google", {"ana@gmail.com"}}};
    auto google = connect();
    google->refresh();
    calendar->access = Authorization::denied;
    calendar->list.clear();
    QSignalSpy access(google.get(), &GoogleConnect::calendarAccessChanged);
    google->refresh();
    EXPECT_EQ(access.count(), 1);
    EXPECT_EQ(google->calendarAccess(), Authorization::denied);
    EXPECT_EQ(google->macAccounts(), QStringList{"ana@gmail.com"}) << "kept as they were";
}

TEST_F(GoogleFixture, WatchingRefreshesOnATimerAndOnStoreChanges) {
    ManualClock clock;
    Clock::install(&clock);
    auto google = connect();
    google->startWatching();
    google->startWatching();
    EXPECT_EQ(clock.pendingTimers(), 1) << "no second timer";
    EXPECT_EQ(calendar->watchers.size(), 1u) << "no second observer";

    calendar->list = {{Type::calDAV, "Google", {"ana@gmail.com"}}};
    clock.advance(GoogleConnect::watchInterval);
    EXPECT_EQ(google->macAccounts(), QStringList{"ana@gmail.com"});
    calendar->list.push_back({Type::calDAV, "Google", {"bia@gmail.com"}});
    calendar->watchers.front()();
    EXPECT_EQ(google->macAccounts().size(), 2);
    google.reset();
    clock.advance(GoogleConnect::watchInterval); // a timer of a gone object does nothing
    Clock::install(nullptr);
}

TEST_F(GoogleFixture, RequestingAccessAsksOnceOrSendsToTheSettings) {
    calendar->list = {{Type::calDAV, "Google", {"ana@gmail.com"}}};
    calendar->access = Authorization::notDetermined;
    auto google = connect();
    test::await(google->requestAccess());
    EXPECT_EQ(calendar->requests, 1);
    EXPECT_EQ(calendar->privacyOpened, 0);
    EXPECT_EQ(google->macAccounts(), QStringList{"ana@gmail.com"}) << "refreshed afterwards";

    calendar->access = Authorization::denied;
    test::await(google->requestAccess());
    EXPECT_EQ(calendar->requests, 1);
    EXPECT_EQ(calendar->privacyOpened, 1);

    calendar->access = Authorization::fullAccess;
    test::await(google->requestAccess());
    EXPECT_EQ(calendar->privacyOpened, 1);
}

TEST_F(GoogleFixture, WithoutACalendarStoreNothingIsEverFound) {
    GoogleConnect google(nullptr, manager);
    google.startWatching();
    test::await(google.requestAccess());
    EXPECT_EQ(google.calendarAccess(), Authorization::restricted);
    EXPECT_TRUE(google.macAccounts().isEmpty());
}

TEST(GoogleCredentials, ReadsTheClientFile) {
    const QString path = test::home() + QStringLiteral("/client.json");
    using Kind = GoogleConnect::ImportError::Kind;
    const struct {
        const char* text;
        std::optional<Kind> error;
    } cases[] = {
        {R"({"installed":{"client_id":"1-a.apps.googleusercontent.com","client_secret":" s "}})",
         {}},
        {R"({"web":{"client_id":"1-a.apps.googleusercontent.com","client_secret":" s "}})", {}},
        {R"({"client_id":"1-a.apps.googleusercontent.com","client_secret":" s ","installed":"x"})",
         {}},
        {R"({"installed":{"client_id":"1-a.example.com","client_secret":"s"}})", Kind::wrongFile},
        {R"({"installed":{"client_id":"1-a.apps.googleusercontent.com","client_secret":""}})",
         Kind::wrongFile},
        {R"({"installed":{"client_id":7,"client_secret":"s"}})", Kind::wrongFile},
        {R"({"other":{}})", Kind::wrongFile},
        {R"(["client_id"])", Kind::unreadable},
        {"não é json", Kind::unreadable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        writeFile(path, c.text);
        try {
            const auto credentials = GoogleConnect::credentials(path);
            EXPECT_FALSE(c.error);
            EXPECT_EQ(credentials,
                      (GoogleConnect::Credentials{"1-a.apps.googleusercontent.com", " s "}));
        } catch (const GoogleConnect::ImportError& e) {
            ASSERT_TRUE(c.error);
            EXPECT_EQ(e.kind(), *c.error);
        }
    }
    try {
        GoogleConnect::credentials(test::home() + QStringLiteral("/nada.json"));
        ADD_FAILURE();
    } catch (const GoogleConnect::ImportError& e) {
        EXPECT_EQ(e.message(), "Não deu para ler o arquivo.");
    }
    EXPECT_EQ(GoogleConnect::ImportError(Kind::wrongFile).message(),
              "Esse não parece o arquivo de credenciais do Google (client_secret_….json).");
}

TEST(GoogleCredentials, TheRecentFileIsTheNewestClientFileOfTheWeek) {
    ManualClock clock(QDateTime(QDate(2026, 12, 10), QTime(12, 0), Qt::UTC));
    Clock::install(&clock);
    const QString downloads = test::home() + QStringLiteral("/Downloads");
    EXPECT_FALSE(GoogleConnect::recentCredentialsFile()) << "no Downloads folder yet";
    const auto place = [&](const QString& name, qint64 ageSeconds) {
        const QString path = downloads + u'/' + name;
        writeFile(path, "{}");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            f.setFileTime(clock.now().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    place("client_secret_velho.json", 604800);
    place("client_secret_maiusculo.JSON", 60);
    place("outro.json", 10);
    EXPECT_FALSE(GoogleConnect::recentCredentialsFile());
    place("client_secret_ontem.json", 86400);
    place("client_secret_hoje.json", 7200);
    EXPECT_EQ(GoogleConnect::recentCredentialsFile(), downloads + "/client_secret_hoje.json");
    Clock::install(nullptr);
}

TEST(GoogleCredentials, ThePickerIsAskedForOneJSONFileInDownloads) {
    EXPECT_FALSE(GoogleConnect::pickCredentialsFile()) << "no dialog installed";
    auto picker = std::make_shared<test::FakeFilePicker>(QStringLiteral("/tmp/escolhido.json"));
    Platform::install<FilePicker>(picker);
    EXPECT_EQ(GoogleConnect::pickCredentialsFile(), "/tmp/escolhido.json");
    EXPECT_EQ(picker->seen.title, "Escolha o arquivo de credenciais do Google");
    EXPECT_EQ(picker->seen.message, "O arquivo client_secret_….json que o Google Cloud baixou");
    EXPECT_EQ(picker->seen.suffixes, QStringList{"json"});
    EXPECT_EQ(picker->seen.folder, test::home() + QStringLiteral("/Downloads"));
    Platform::uninstall<FilePicker>();
}

TEST_F(GoogleFixture, InstallingWritesTheGoogleEntryBesideTheOthers) {
    writeFile(manager.configPath(), R"({"mcpServers":{"meu":{"command":"x","disabled":true}}})");
    const GoogleConnect::Credentials credentials{"1-a.apps.googleusercontent.com", "segredo"};
    EXPECT_FALSE(GoogleConnect::installWorkspace("ana@gmail.com", credentials,
                                                 {"drive", "docs", "sheets"}, manager));
    const auto read = manager.readConfig();
    const auto* file = std::get_if<MCPConfigFile>(&read);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->mcpServers.at("meu").command, "x");
    const JSONValue entry = file->mcpServers.at("google").toJSON();
    EXPECT_EQ(entry, *JSONValue::parse(QStringLiteral(R"({
        "command": "uvx",
        "args": ["workspace-mcp", "--single-user", "--tool-tier", "core", "--disabled-tools",
                 "get_drive_file_download_url", "import_to_google_slides", "--tools",
                 "drive", "docs", "sheets"],
        "env": {"GOOGLE_OAUTH_CLIENT_ID": "1-a.apps.googleusercontent.com",
                "GOOGLE_OAUTH_CLIENT_SECRET": "segredo", "USER_GOOGLE_EMAIL": "ana@gmail.com"}})")));
    ASSERT_TRUE(GoogleConnect(nullptr, manager).workspaceServer());
    EXPECT_EQ(GoogleConnect(nullptr, manager).workspaceServer()->name, "google");
}

TEST_F(GoogleFixture, AnUnreadableFileIsNotReplacedByTheGoogleEntry) {
    const QByteArray broken = R"({"mcpServers":{"meu":{"command":"x"}},)";
    writeFile(manager.configPath(), broken);
    const auto error = GoogleConnect::installWorkspace(
        "ana@gmail.com", {"1-a.apps.googleusercontent.com", "s"}, {"drive"}, manager);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), MCPError::Kind::invalidConfig);
    EXPECT_TRUE(error->message().startsWith("mcp.json inválido: "));
    QFile f(manager.configPath());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), broken);
    EXPECT_FALSE(GoogleConnect(nullptr, manager).workspaceServer());
}

TEST(GoogleUVX, FoundInTheUsersToolFolders) {
    EXPECT_FALSE(GoogleConnect::hasUVX());
    const QString uvx = test::home() + QStringLiteral("/.cargo/bin/uvx");
    writeFile(uvx, "#!/bin/sh\n");
    EXPECT_FALSE(GoogleConnect::hasUVX()) << "not executable";
    QFile::setPermissions(uvx, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(GoogleConnect::hasUVX());
}

} // namespace
} // namespace nolvea
