#include "agent/ToolError.h"
#include "agent/tools/FileTools.h"
#include "platform/LaunchError.h"
#include "platform/Platform.h"
#include "platform/linux/HomeFileSearch.h"
#include "platform/linux/XdgLauncher.h"
#include "support/Async.h"
#include "support/DesktopFixture.h"
#include "support/FileTree.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace nolvea;

namespace {

JSONValue args(std::initializer_list<std::pair<const QString, JSONValue>> members) {
    return JSONValue::object(members);
}

QString run(const AgentTool& tool, const JSONValue& arguments) {
    return test::await(tool.run(arguments));
}

// The message of whatever `fn` throws.
template <typename F> QString errorOf(F&& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        return describe(e);
    }
    return "no error";
}

class FileToolsTest : public ::testing::Test {
protected:
    test::DesktopFixture desktop;
    QString home = test::home();

    void SetUp() override {
        Platform::install<Launcher>(std::make_shared<XdgLauncher>());
        Platform::install<FileSearch>(std::make_shared<HomeFileSearch>());
        desktop.addApp("files.desktop", "Arquivos", "%1 %f",
                       {"MimeType=inode/directory;text/plain;"});
        desktop.addApp("browser.desktop", "Navegador", "%1 %u",
                       {"MimeType=x-scheme-handler/http;x-scheme-handler/https;"});
    }
    void TearDown() override { Platform::reset(); }
};

TEST_F(FileToolsTest, SearchFilesFiltersAndCaps) {
    const QString root = home + "/Projetos";
    for (int i = 0; i < 20; ++i)
        test::writeFile(root + QString("/zebra-%1.txt").arg(i, 2, 10, QChar('0')), "");
    test::writeFile(root + "/Library/zebra-lib.txt", "");
    test::writeFile(root + "/.git/zebra-git.txt", "");
    test::writeFile(root + "/texto.txt", "fala de uma girafa\n");

    const QStringList lines =
        run(FileTools::searchFiles(), args({{"query", " zebra "}, {"name_only", true}}))
            .split('\n');
    ASSERT_EQ(lines.size(), 15);
    EXPECT_EQ(lines.first(), root + "/zebra-00.txt");
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains("/Library/") || line.contains("/.")) << line.toStdString();

    // The text "true" is not the boolean: contents are searched too.
    EXPECT_EQ(run(FileTools::searchFiles(), args({{"query", "girafa"}, {"name_only", "true"}})),
              root + "/texto.txt");
    EXPECT_EQ(run(FileTools::searchFiles(), args({{"query", "girafa"}, {"name_only", true}})),
              "Nada encontrado.");
    EXPECT_EQ(errorOf([] {
                  run(FileTools::searchFiles(), args({{"query", "  "}}));
              }),
              "Faltou o campo \"query\".");
}

TEST_F(FileToolsTest, OpenFileOpensFilesAndFoldersButNeverRunsThem) {
    test::writeFile(home + "/Documentos/nota.txt", "oi");
    EXPECT_EQ(run(FileTools::openFile(), args({{"path", "~/Documentos/"}})), "Aberto: Documentos");
    EXPECT_EQ(desktop.waitForCall("files.desktop"), QStringList{home + "/Documentos"});
    QFile::remove(desktop.callsOf("files.desktop"));
    // Revealing opens the folder that holds it when no file manager answers on the bus.
    EXPECT_EQ(run(FileTools::openFile(),
                  args({{"path", home + "/Documentos/nota.txt"}, {"reveal", true}})),
              "Aberto: nota.txt");
    EXPECT_EQ(desktop.waitForCall("files.desktop"), QStringList{home + "/Documentos"});

    test::writeFile(home + "/bin/script.sh", "#!/bin/sh\ntouch " + (home + "/ran").toUtf8() + "\n",
                    0755);
    test::writeFile(home + "/bin/script-sem-x.sh", "#!/bin/sh\necho oi\n", 0644);
    test::writeFile(home + "/bin/app.desktop", "[Desktop Entry]\nType=Application\nExec=true\n");
    QFile::copy("/bin/true", home + "/bin/programa");
    QFile::setPermissions(home + "/bin/programa", QFile::ReadOwner); // ELF without the x bit
    for (const QString name : {"script.sh", "script-sem-x.sh", "app.desktop", "programa"}) {
        EXPECT_EQ(errorOf([&] {
                      run(FileTools::openFile(), args({{"path", home + "/bin/" + name}}));
                  }),
                  QString("\"%1\" é um programa, script ou atalho de app: por segurança, não abro.")
                      .arg(name));
    }
    EXPECT_FALSE(QFile::exists(home + "/ran"));
    EXPECT_EQ(errorOf([&] {
                  run(FileTools::openFile(), args({{"path", home + "/nada.txt"}}));
              }),
              "Arquivo não existe.");
}

// A program is told by the file's type; the executable bit alone (any file on some mounts, a
// downloaded document) only counts for files of no known type.
TEST_F(FileToolsTest, OpenFileTellsProgramsByTypeNotByTheExecutableBit) {
    desktop.addApp("reader.desktop", "Leitor", "%1 %f", {"MimeType=application/pdf;"});
    struct Case {
        QString name;
        QByteArray content;
        int mode;
        bool opens;
    };
    const Case cases[] = {
        {"relatorio.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<>>\nendobj\n", 0755, true},
        {"nota.txt", "só texto\n", 0755, true},
        {"ferramenta", "#!/usr/bin/python3\nprint('oi')\n", 0644, false},
        {"dados.bin", QByteArray("\x01\x02\x03\xfe\xff\x00\x10", 7), 0755, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString path = home + "/Downloads/" + c.name;
        test::writeFile(path, c.content, c.mode);
        const QString refusal =
            QString("\"%1\" é um programa, script ou atalho de app: por segurança, não abro.")
                .arg(c.name);
        EXPECT_EQ(errorOf([&] {
                      return run(FileTools::openFile(), args({{"path", path}}));
                  }),
                  c.opens ? "no error" : refusal);
    }
    EXPECT_EQ(desktop.waitForCall("reader.desktop"),
              QStringList{home + "/Downloads/relatorio.pdf"});
    EXPECT_EQ(desktop.waitForCall("files.desktop"), QStringList{home + "/Downloads/nota.txt"});
}

TEST_F(FileToolsTest, OpenFileFailsWhenNothingOpensIt) {
    test::writeFile(home + "/planilha.ods", "PK");
    EXPECT_EQ(errorOf([&] {
                  run(FileTools::openFile(), args({{"path", home + "/planilha.ods"}}));
              }),
              "Nenhum app está configurado para abrir \"planilha.ods\" "
              "(application/vnd.oasis.opendocument.spreadsheet).");
}

TEST_F(FileToolsTest, OpenURLAcceptsOnlyWebAndMailAddresses) {
    EXPECT_EQ(run(FileTools::openURL(), args({{"url", "https://example.org/x"}})), "Link aberto");
    EXPECT_EQ(desktop.waitForCall("browser.desktop"), QStringList{"https://example.org/x"});
    const struct {
        QString url;
        QString error;
    } refused[] = {
        {"example.org", "URL inválida."},
        {"https://", "URL inválida."},
        {"file:///etc/passwd", "Só abro links http, https ou mailto."},
        {"javascript:alert(1)", "Só abro links http, https ou mailto."},
        {"ssh://host", "Só abro links http, https ou mailto."},
        // Allowed, but nothing here handles it: a failure, not a silent success.
        {"mailto:ana@example.org", "Nenhum app de e-mail está configurado para abrir o link."},
    };
    for (const auto& c : refused)
        EXPECT_EQ(errorOf([&] {
                      run(FileTools::openURL(), args({{"url", c.url}}));
                  }),
                  c.error)
            << c.url.toStdString();
}

TEST_F(FileToolsTest, WebSearchEncodesTheWholeQuery) {
    EXPECT_EQ(FileTools::searchURL("c++ e você").toString(QUrl::FullyEncoded),
              "https://www.google.com/search?q=c%2B%2B%20e%20voc%C3%AA");
    EXPECT_EQ(FileTools::searchURL("a&b=c#d").query(QUrl::FullyEncoded), "q=a%26b%3Dc%23d");
    EXPECT_EQ(run(FileTools::webSearch(), args({{"query", "dois termos"}})), "Pesquisa aberta");
    EXPECT_EQ(desktop.waitForCall("browser.desktop"),
              QStringList{"https://www.google.com/search?q=dois%20termos"});
}

TEST_F(FileToolsTest, OpenAppStartsTheNamedApplication) {
    desktop.addApp("notas.desktop", "Notas", "%1 --nova");
    EXPECT_EQ(run(FileTools::openApp(), args({{"name", " notas "}})), "notas aberto");
    EXPECT_EQ(desktop.waitForCall("notas.desktop"), QStringList{"--nova"});
    EXPECT_EQ(errorOf([] {
                  run(FileTools::openApp(), args({{"name", "Inexistente"}}));
              }),
              "Nenhum app chamado \"Inexistente\" está instalado.");
}

} // namespace
