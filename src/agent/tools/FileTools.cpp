#include "agent/tools/FileTools.h"

#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "platform/FileSearch.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "support/OffThread.h"
#include "support/json/Schema.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

namespace nolvea::FileTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kGroup = QStringLiteral("Arquivos e apps");

QString expandTilde(const QString& path) {
    if (path == QLatin1String("~")) return QDir::homePath();
    if (path.startsWith(QLatin1String("~/"))) return QDir::homePath() + path.mid(1);
    return path;
}

// Programs, scripts and application launchers: opening one would run it. The type decides, not
// the executable bit, which documents on some mounts or from downloads carry too; the bit
// only counts for a file of no known type.
bool runsWhenOpened(const QFileInfo& info) {
    if (info.isDir()) return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const char* kind :
         {"application/x-executable", "application/x-sharedlib", "application/x-desktop",
          "application/x-shellscript", "application/x-ms-dos-executable",
          "application/x-msdownload", "application/vnd.appimage", "application/x-java-archive"})
        if (type.inherits(QLatin1String(kind))) return true;
    if (info.suffix().compare(QLatin1String("desktop"), Qt::CaseInsensitive) == 0) return true;
    return type.isDefault() && info.isExecutable();
}

QCoro::Task<QString> search(JSONValue arguments) {
    const QString query = requiredArgument(arguments, QStringLiteral("query"));
    FileSearch::Query q;
    q.root = QDir::homePath();
    q.text = query;
    q.nameOnly = isTrue(arguments, QStringLiteral("name_only"));
    q.limit = kSearchLimit;
    q.deadline = QDeadlineTimer(std::chrono::seconds(kSearchSeconds));
    auto search = Platform::find<FileSearch>();
    if (!search)
        throw ToolError::failed(QStringLiteral("A busca de arquivos não está disponível."));
    const QString root = q.root;
    // A named task: g++ 12 mishandles lambda temporaries inside a co_await expression.
    auto walk = offThread([search, q] { return search->search(q); });
    const FileSearch::Result found = co_await std::move(walk);

    QStringList lines;
    for (const QString& path : found.paths) {
        // Library folders and hidden items below the home folder never reach the model.
        const QString below = path.startsWith(root) ? path.mid(root.size()) : path;
        if (below.contains(QLatin1String("/Library/")) || below.contains(QLatin1String("/.")))
            continue;
        lines << path;
        if (lines.size() == kSearchLimit) break;
    }
    if (lines.isEmpty() && found.timedOut)
        throw ToolError::failed(
            QStringLiteral("A busca passou de %1 segundos e parou sem achar nada.")
                .arg(kSearchSeconds));
    if (lines.isEmpty()) co_return QStringLiteral("Nada encontrado.");
    co_return lines.join(u'\n');
}

QString openPath(const JSONValue& arguments) {
    const QString path =
        QDir::cleanPath(expandTilde(requiredArgument(arguments, QStringLiteral("path"))));
    const QFileInfo info(path);
    if (!info.exists()) throw ToolError::invalid(QStringLiteral("Arquivo não existe."));
    if (runsWhenOpened(info))
        throw ToolError::invalid(
            QStringLiteral(
                "\"%1\" é um programa, script ou atalho de app: por segurança, não abro.")
                .arg(info.fileName()));
    auto& launcher = Platform::get<Launcher>();
    if (isTrue(arguments, QStringLiteral("reveal")))
        launcher.revealFile(path);
    else
        launcher.openFile(path);
    return QStringLiteral("Aberto: ") + info.fileName();
}

QString openApplication(const JSONValue& arguments) {
    const QString name = requiredArgument(arguments, QStringLiteral("name"));
    Platform::get<Launcher>().openApplication(name);
    return name + QStringLiteral(" aberto");
}

QString openAddress(const JSONValue& arguments) {
    const QString text = requiredArgument(arguments, QStringLiteral("url"));
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        throw ToolError::invalid(QStringLiteral("URL inválida."));
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https") &&
        scheme != QLatin1String("mailto"))
        throw ToolError::invalid(QStringLiteral("Só abro links http, https ou mailto."));
    if (scheme != QLatin1String("mailto") && url.host().isEmpty())
        throw ToolError::invalid(QStringLiteral("URL inválida."));
    Platform::get<Launcher>().openURL(url);
    return QStringLiteral("Link aberto");
}

QString searchTheWeb(const JSONValue& arguments) {
    const QString query = requiredArgument(arguments, QStringLiteral("query"));
    Platform::get<Launcher>().openURL(searchURL(query));
    return QStringLiteral("Pesquisa aberta");
}

// A card that shows the tool's first argument.
std::function<ActionPreview(const JSONValue&)> card(QString symbol, QString title,
                                                    QString argument) {
    return [=](const JSONValue& args) { return preview(symbol, title, {text(args, argument)}); };
}

} // namespace

QUrl searchURL(const QString& query) {
    return QUrl(QStringLiteral("https://www.google.com/search?q=") +
                    QString::fromLatin1(QUrl::toPercentEncoding(query)),
                QUrl::StrictMode);
}

const AgentTool& searchFiles() {
    static const AgentTool tool{
        .name = "search_files",
        .description = "Procura arquivos e pastas no Mac pelo nome ou conteúdo (Spotlight). "
                       "Devolve até 15 caminhos.",
        .parameters = Schema::object(
            {{"query", Schema::string("Termos de busca")},
             {"name_only", Schema::boolean("true para buscar só no nome do arquivo")}},
            {"query"}),
        .kind = Kind::read,
        .symbol = "magnifyingglass",
        .progress = "Procurando arquivos…",
        .group = kGroup,
        .preview = card("magnifyingglass", "Buscar arquivos", "query"),
        .run = search,
    };
    return tool;
}

const AgentTool& openFile() {
    static const AgentTool tool{
        .name = "open_file",
        .description =
            "Abre um arquivo ou pasta (caminho completo) no app padrão, ou revela no Finder.",
        .parameters =
            Schema::object({{"path", Schema::string("Caminho completo")},
                            {"reveal", Schema::boolean("true para só mostrar no Finder")}},
                           {"path"}),
        .kind = Kind::light,
        .symbol = "doc",
        .progress = "Abrindo…",
        .group = kGroup,
        .preview = card("doc", "Abrir arquivo", "path"),
        .run = now(openPath),
    };
    return tool;
}

const AgentTool& openApp() {
    static const AgentTool tool{
        .name = "open_app",
        .description = "Abre (ou traz para frente) um aplicativo pelo nome.",
        .parameters = Schema::object(
            {{"name", Schema::string("Nome do app, ex.: Safari, Notas, Spotify")}}, {"name"}),
        .kind = Kind::light,
        .symbol = "app.badge",
        .progress = "Abrindo app…",
        .group = kGroup,
        .preview = card("app.badge", "Abrir app", "name"),
        .run = now(openApplication),
    };
    return tool;
}

const AgentTool& openURL() {
    static const AgentTool tool{
        .name = "open_url",
        .description =
            "Abre no navegador uma URL que a pessoa ditou ou que veio do resultado de outra "
            "ferramenta. Nunca invente ou adivinhe URLs (ex.: links de arquivos do Google Drive).",
        .parameters =
            Schema::object({{"url", Schema::string("URL completa com https://")}}, {"url"}),
        .kind = Kind::light,
        .symbol = "safari",
        .progress = "Abrindo…",
        .group = kGroup,
        .preview = card("safari", "Abrir link", "url"),
        .run = now(openAddress),
    };
    return tool;
}

const AgentTool& webSearch() {
    static const AgentTool tool{
        .name = "web_search",
        .description = "Pesquisa algo na web, abrindo o navegador com os resultados.",
        .parameters = Schema::object({{"query", Schema::string("O que pesquisar")}}, {"query"}),
        .kind = Kind::light,
        .symbol = "globe",
        .progress = "Pesquisando…",
        .group = kGroup,
        .preview = card("globe", "Pesquisar na web", "query"),
        .run = now(searchTheWeb),
    };
    return tool;
}

} // namespace nolvea::FileTools
