#include "support/LoopbackServer.h"
#include "support/TestEnvironment.h"
#include "ui/components/SiteButton.h"
#include "ui/settings/UpdateRow.h"
#include "updates/Updater.h"

#include <QFile>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

QString debian12() {
    const QString path = test::home() + "/os-release-debian12";
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("ID=debian\nVERSION_ID=\"12\"\n");
    return path;
}

// The update row over a real updater reading its manifest from a loopback site.
class UpdateRowTest : public ::testing::Test {
protected:
    std::unique_ptr<Updater> make(std::optional<QUrl> site) {
        UpdaterSetup s;
        s.siteURL = std::move(site);
        s.version = "1.4.0";
        s.build = 10;
        s.osReleasePath = debian12();
        s.manifestTimeout = std::chrono::milliseconds(2000);
        s.downloadTimeout = std::chrono::milliseconds(300);
        return std::make_unique<Updater>(s);
    }
    // What the row shows: its texts and its one button, if any.
    static QStringList shown(UpdateRow& row) {
        // New children are shown on the next turn; the network is left waiting meanwhile.
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QStringList out;
        for (auto* l : row.findChildren<QLabel*>())
            if (l->isVisibleTo(&row) && !l->text().isEmpty()) out << l->text();
        for (auto* b : row.findChildren<SiteButton*>())
            if (b->isVisibleTo(&row)) out << "[" + b->text() + (b->isEnabled() ? "]" : " off]");
        return out;
    }
    static SiteButton* button(UpdateRow& row) {
        for (auto* b : row.findChildren<SiteButton*>())
            if (b->isVisibleTo(&row)) return b;
        return nullptr;
    }

    test::LoopbackServer site;
};

TEST_F(UpdateRowTest, WithoutASiteTheCheckCannotStart) {
    auto updater = make(std::nullopt);
    UpdateRow row(*updater);
    EXPECT_EQ(shown(row), QStringList{"[Procurar atualizações off]"});
}

TEST_F(UpdateRowTest, FollowsTheUpdaterFromTheCheckToAFailedDownload) {
    // The archive never comes: the download gives up after its time-out.
    test::HttpResponse never;
    never.silent = true;
    site.on("GET", "/n/Nolvea.zip", never);
    site.on("GET", "/n/downloads/latest.json",
            test::HttpResponse::json(R"({"version":"2.0","build":11,"url":")" +
                                     site.url("/n/Nolvea.zip").toUtf8() +
                                     R"(","sha256":"aa","signature":"bb"})"));
    auto updater = make(QUrl(site.url("/n")));
    UpdateRow row(*updater);
    row.show();
    EXPECT_EQ(shown(row), QStringList{"[Procurar atualizações]"});
    QTest::mouseClick(button(row), Qt::LeftButton);
    EXPECT_EQ(shown(row), QStringList{"Procurando…"}) << "no button while checking";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return updater->phase().kind == UpdatePhase::Kind::available; }, 5000));
    EXPECT_EQ(shown(row), (QStringList{"Versão 2.0 disponível", "[Atualizar agora]"}));
    QTest::mouseClick(button(row), Qt::LeftButton);
    EXPECT_EQ(shown(row), QStringList{"Baixando a atualização…"}) << "before any answer";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return updater->phase().kind == UpdatePhase::Kind::failed; }, 5000));
    const QStringList failed = shown(row);
    ASSERT_EQ(failed.size(), 2);
    EXPECT_EQ(failed[0], updater->phase().message) << "the updater's message as it came";
    EXPECT_EQ(failed[1], "[Tentar de novo]");
}

TEST_F(UpdateRowTest, UpToDateOffersAnotherCheck) {
    site.on("GET", "/n/downloads/latest.json",
            test::HttpResponse::json(R"({"version":"1.4.0","build":10,
                "url":"http://127.0.0.1:1/Nolvea.zip","sha256":"aa","signature":"bb"})"));
    auto updater = make(QUrl(site.url("/n")));
    UpdateRow row(*updater);
    QTest::mouseClick(button(row), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return updater->phase().kind == UpdatePhase::Kind::upToDate; }, 5000));
    EXPECT_EQ(shown(row), (QStringList{"Você está na versão mais nova", "[Procurar de novo]"}));
}

} // namespace
