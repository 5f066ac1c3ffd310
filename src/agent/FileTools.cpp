#include "agent/FileTools.h"

#include "agent/ToolError.h"
#include "platform/FileSearch.h"
#include "platform/Launcher.h"
#include "platform/Platform.h"
#include "support/OffThread.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

namespace nolvea::FileTools {

namespace {

bool isTrue(const JSONValue& arguments, const QString& key) {
    const auto value = arguments[key];
    return value && value->asBool() == true;
}

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

} // namespace

QCoro::Task<QString> searchFiles(JSONValue arguments) {
    const QString query = arguments.required(QStringLiteral("query"));
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

QString openFile(const JSONValue& arguments) {
    const QString path = QDir::cleanPath(expandTilde(arguments.required(QStringLiteral("path"))));
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

QString openApp(const JSONValue& arguments) {
    const QString name = arguments.required(QStringLiteral("name"));
    Platform::get<Launcher>().openApplication(name);
    return name + QStringLiteral(" aberto");
}

QString openURL(const JSONValue& arguments) {
    const QString text = arguments.required(QStringLiteral("url"));
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

QUrl searchURL(const QString& query) {
    return QUrl(QStringLiteral("https://www.google.com/search?q=") +
                    QString::fromLatin1(QUrl::toPercentEncoding(query)),
                QUrl::StrictMode);
}

QString webSearch(const JSONValue& arguments) {
    const QString query = arguments.required(QStringLiteral("query"));
    Platform::get<Launcher>().openURL(searchURL(query));
    return QStringLiteral("Pesquisa aberta");
}

} // namespace nolvea::FileTools
