#include "agent/ToolError.h"
#include "agent/tools/ShortcutTools.h"
#include "support/Async.h"
#include "support/FileTree.h"
#include "support/PrivateTempDir.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace nolvea;

namespace {

JSONValue args(std::initializer_list<std::pair<const QString, JSONValue>> members) {
    return JSONValue::object(members);
}

QString run(const JSONValue& arguments) {
    return test::await(ShortcutTools::runShortcut().run(arguments));
}

class ShortcutToolsTest : public ::testing::Test {
protected:
    QString folder = ShortcutTools::folder();
    QString log = folder + "/../atalho.log";

    void SetUp() override { QDir(folder).removeRecursively(); }

    // A shortcut that notes its arguments and the modes of its files, then writes `output`.
    void addShortcut(const QString& name, const QByteArray& output, const QByteArray& extra = {}) {
        test::writeFile(
            folder + "/" + name,
            "#!/bin/sh\n"
            "printf '%s\\n' \"$@\" > '" +
                log.toUtf8() +
                "'\n"
                "for f in \"$2\" \"$4\"; do [ -f \"$f\" ] && stat -c '%a %n' \"$f\" >> '" +
                log.toUtf8() +
                "'; done\n"
                "stat -c '%a' \"$(dirname \"$2\")\" >> '" +
                log.toUtf8() +
                "'\n"
                "[ \"$1\" = --input-path ] && out=\"$4\" || out=\"$2\"\n"
                "printf '%s' '" +
                output + "' > \"$out\"\n" + extra,
            0755);
    }

    QStringList logLines() {
        QFile f(log);
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(ShortcutToolsTest, ListsExecutableFilesByName) {
    EXPECT_EQ(test::await(ShortcutTools::listShortcuts().run(JSONValue::object({}))),
              "Nenhum atalho.");
    addShortcut("beta", "");
    addShortcut("Alfa Romeu", "");
    test::writeFile(folder + "/notas.txt", "não é atalho", 0644);
    EXPECT_EQ(test::await(ShortcutTools::listShortcuts().run(JSONValue::object({}))),
              "Alfa Romeu\nbeta");
}

TEST_F(ShortcutToolsTest, RunsWithPrivateFilesThatAreRemovedAfterwards) {
    addShortcut("Traduzir", "olá\n", "cat \"$2\" >> '" + log.toUtf8() + "'\n");
    EXPECT_EQ(run(args({{"name", "Traduzir"}, {"input", "  hello  "}})),
              "Atalho executado. Saída: olá\n");
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], "--input-path");
    EXPECT_TRUE(lines[1].contains("/zovra-input-")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "--output-path");
    EXPECT_TRUE(lines[3].contains("/zovra-shortcut-")) << lines[3].toStdString();
    EXPECT_EQ(lines[4], "600 " + lines[1]);
    EXPECT_EQ(lines[5], "600 " + lines[3]);
    EXPECT_EQ(lines[6], "700");
    EXPECT_EQ(lines[7], "hello"); // the input, trimmed
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(lines[1]).absolutePath()));
}

TEST_F(ShortcutToolsTest, RunsWithoutInputAndCutsLongOutput) {
    addShortcut("Longo", QByteArray(600, 'a'));
    EXPECT_EQ(run(args({{"name", "Longo"}, {"input", " \n "}})),
              "Atalho executado. Saída: " + QString(500, 'a'));
    const QStringList lines = logLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "--output-path");
    addShortcut("Mudo", "");
    EXPECT_EQ(run(args({{"name", "Mudo"}})), "Atalho executado");
    addShortcut("Binario", "", "printf '\\377\\376' > \"$2\"\n");
    EXPECT_EQ(run(args({{"name", "Binario"}})), "Atalho executado");
}

TEST_F(ShortcutToolsTest, FailuresLeaveNoFilesBehind) {
    addShortcut("Quebra", "", "echo 'deu ruim' >&2; exit 3\n");
    try {
        run(args({{"name", "Quebra"}, {"input", "x"}}));
        ADD_FAILURE() << "no failure";
    } catch (const ToolError& e) {
        EXPECT_EQ(e.kind(), ToolError::Kind::failed);
        EXPECT_EQ(e.message(), "deu ruim\n");
    }
    const QStringList lines = logLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(lines[1]).absolutePath()));

    const struct {
        QString name;
        QString message;
    } cases[] = {
        {"", "Faltou o campo \"name\"."},
        {"Nenhum", "Nenhum atalho chamado \"Nenhum\"."},
        {"../atalho.log", "Nenhum atalho chamado \"../atalho.log\"."},
    };
    for (const auto& c : cases) {
        try {
            run(args({{"name", c.name}}));
            ADD_FAILURE() << "ran " << c.name.toStdString();
        } catch (const ToolError& e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
}

} // namespace
