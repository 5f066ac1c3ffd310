#include "agent/MCPAgentTools.h"
#include "mcp/MCPManager.h"
#include "mcp/MCPTestServers.h"
#include "ui/components/SettingRow.h"
#include "ui/components/SettingsSwitch.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/GoogleSetupCard.h"
#include "ui/settings/IntegrationsSettings.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

// The integrations page over a real mcp.json: the memory reference server from npm and one
// whose program does not exist.
class IntegrationsPage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("mcp.json");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral(R"({"mcpServers": {
  "memory": {"command": "node", "args": ["%1"]},
  "quebrado": {"command": "/nonexistent/<b>servidor</b>"}
}})")
                    .arg(test::referenceServer("memory"))
                    .toUtf8());
        f.close();
        manager = std::make_unique<MCPManager>(path);
        manager->reload();
    }
    void TearDown() override {
        if (manager) manager->stopAll();
    }

    SettingRow* row(QWidget& page, const QString& title) {
        for (auto* r : page.findChildren<SettingRow*>())
            if (r->title() == title && r->isVisibleTo(&page)) return r;
        return nullptr;
    }
    bool waitDetail(QWidget& page, const QString& title, const QString& prefix) {
        return QTest::qWaitFor(
            [&] {
                SettingRow* r = row(page, title);
                return r && r->detail() && r->detail()->startsWith(prefix);
            },
            20000);
    }
    QString fileText() {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<MCPManager> manager;
};

TEST_F(IntegrationsPage, ShowsEachServerWithItsStateToolsAndError) {
    IntegrationsSettings page(*manager);
    ASSERT_TRUE(waitDetail(page, "memory", "Rodando · "));
    ASSERT_TRUE(waitDetail(page, "quebrado", "Falhou: "));
    EXPECT_EQ(row(page, "quebrado")->detailLabel()->textFormat(), Qt::PlainText);

    QAbstractButton* more = nullptr;
    for (auto* b : row(page, "memory")->findChildren<QAbstractButton*>())
        if (b->accessibleName() == "Ver ferramentas") more = b;
    ASSERT_NE(more, nullptr);
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_TRUE(page.expanded().contains("memory"));
    QStringList shown;
    for (auto* l : page.findChildren<QLabel*>())
        if (l->isVisibleTo(&page)) shown << l->text();
    EXPECT_TRUE(shown.contains("create_entities")) << shown.join(", ").toStdString();
}

TEST_F(IntegrationsPage, SwitchingAServerOffWritesTheFileAndReloads) {
    IntegrationsSettings page(*manager);
    ASSERT_TRUE(waitDetail(page, "memory", "Rodando · "));
    auto* on = qobject_cast<SettingsSwitch*>(row(page, "memory")->findChild<SettingsSwitch*>());
    ASSERT_NE(on, nullptr);
    EXPECT_TRUE(on->isChecked());
    QTest::mouseClick(on, Qt::LeftButton);
    EXPECT_TRUE(fileText().contains("\"disabled\"")) << fileText().toStdString();
    ASSERT_TRUE(waitDetail(page, "memory", "Desligado"));
    const std::vector<AgentTool> tools = mcpAgentTools(*manager);
    EXPECT_TRUE(std::none_of(tools.begin(), tools.end(), [](const AgentTool& t) {
        return t.group == QStringLiteral("MCP · memory");
    }));
}

TEST_F(IntegrationsPage, TheGoogleCardWritesItsServerAndReadsItBack) {
    {
        GoogleSetupCard card(*manager);
        card.show();
        EXPECT_FALSE(card.saveButton()->isEnabled());
        EXPECT_EQ(card.missingLabel()->text(), "Preencha sua conta Google");
        QTest::keyClicks(card.emailField(), "ana@gmail.com");
        QTest::keyClicks(card.clientIDField(), "123-abc.apps.googleusercontent.com");
        QTest::keyClicks(card.secretField(), "GOCSPX-1234567");
        card.toggleService("gmail");
        ASSERT_TRUE(card.saveButton()->isEnabled());
        QTest::mouseClick(card.saveButton(), Qt::LeftButton);
        ASSERT_NE(manager->server("google"), nullptr);
        EXPECT_EQ(card.saveButton()->text(), "Salvar alterações");
    }
    GoogleSetupCard again(*manager);
    again.show();
    EXPECT_EQ(again.emailField()->text(), "ana@gmail.com");
    EXPECT_EQ(again.clientIDField()->text(), "123-abc.apps.googleusercontent.com");
    EXPECT_EQ(again.selected(), (QSet<QString>{"drive", "docs", "sheets", "gmail"}));
}

// A file that cannot be written is not opened; the page says why.
TEST(IntegrationsOpen, AnUnwritableFileShowsWhyItCannotOpen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The folder of the file is a plain file: nothing can be written there, even as root.
    const QString blocker = dir.filePath("bloqueio");
    QFile plain(blocker);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    MCPManager manager(blocker + "/mcp.json");
    IntegrationsSettings page(manager);
    page.show();
    QLabel* error = page.findChild<QLabel*>();
    for (auto* l : page.findChildren<QLabel*>())
        if (l->accessibleName() == "Erro ao abrir o mcp.json") error = l;
    ASSERT_EQ(error->accessibleName(), "Erro ao abrir o mcp.json");
    EXPECT_FALSE(error->isVisible());

    QAbstractButton* open = nullptr;
    for (auto* b : page.findChildren<QAbstractButton*>())
        if (b->text() == "Abrir mcp.json") open = b;
    ASSERT_NE(open, nullptr);
    QTest::mouseClick(open, Qt::LeftButton);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), "Não foi possível gravar o arquivo " + blocker + "/mcp.json.");
    EXPECT_FALSE(QFile::exists(blocker + "/mcp.json"));
}

} // namespace
