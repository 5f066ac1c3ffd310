#include "platform/linux/HomeFileSearch.h"
#include "support/FileTree.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

class HomeFileSearchTest : public ::testing::Test {
protected:
    QString root = test::home() + "/busca";
    HomeFileSearch search;

    void SetUp() override {
        QDir(root).removeRecursively();
        test::writeFile(root + "/Relatorio Anual.txt", "nada aqui");
        test::writeFile(root + "/docs/notas.md", "O orçamento anual fechou.\n");
        test::writeFile(root + "/docs/grande.txt",
                        QByteArray(HomeFileSearch::maxContentBytes + 1, 'x') + " orçamento");
        test::writeFile(root + "/docs/foto.png", "\x89PNG orçamento");
        test::writeFile(root + "/fotos/relatorio.png", "\x89PNG");
        test::writeFile(root + "/a/b/c/relatorio-fundo.txt", "");
        test::writeFile(root + "/.oculto/relatorio.txt", "orçamento");
        test::writeFile(root + "/docs/.relatorio-oculto.txt", "orçamento");
        test::writeFile(root + "/Library/relatorio.txt", "orçamento");
        QFile::link(root, root + "/volta"); // a loop the walk must not follow
    }

    FileSearch::Result find(const QString& text, bool nameOnly, int limit = 15,
                            QDeadlineTimer deadline = QDeadlineTimer(10000)) {
        return search.search({root, text, nameOnly, limit, deadline});
    }
};

TEST_F(HomeFileSearchTest, MatchesNamesShallowFirstAndSkipsHiddenAndLibraryFolders) {
    const auto r = find("RELATORIO", true);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.paths, (QStringList{root + "/Relatorio Anual.txt", root + "/fotos/relatorio.png",
                                    root + "/a/b/c/relatorio-fundo.txt"}));
    // Every word must match.
    EXPECT_EQ(find("anual relatorio", true).paths, QStringList{root + "/Relatorio Anual.txt"});
}

TEST_F(HomeFileSearchTest, MatchesContentsOfSmallTextFilesUnlessNamesOnly) {
    EXPECT_EQ(find("orçamento anual", false).paths, QStringList{root + "/docs/notas.md"});
    EXPECT_TRUE(find("orçamento", true).paths.isEmpty());
}

TEST_F(HomeFileSearchTest, StopsAtTheCapAndAtTheDeadline) {
    for (int i = 0; i < 20; ++i)
        test::writeFile(root + QString("/muitos/item-%1.txt").arg(i, 2, 10, QChar('0')), "");
    const auto capped = find("item-", true);
    ASSERT_EQ(capped.paths.size(), 15);
    EXPECT_EQ(capped.paths.first(), root + "/muitos/item-00.txt");
    const auto late = find("item-", true, 15, QDeadlineTimer(0));
    EXPECT_TRUE(late.timedOut);
    EXPECT_TRUE(late.paths.isEmpty());
}

} // namespace
