#include "agent/tools/ShortcutTools.h"

#include "agent/Shell.h"
#include "agent/ToolArguments.h"
#include "agent/ToolError.h"
#include "agent/tools/ToolKit.h"
#include "core/AppPaths.h"
#include "support/AtomicFile.h"
#include "support/Graphemes.h"
#include "support/PrivateTempDir.h"
#include "support/json/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUuid>

namespace nolvea::ShortcutTools {

using namespace ToolKit;
using Kind = AgentTool::Kind;

namespace {

const QString kGroup = QStringLiteral("Atalhos");
const QString kSymbol = QStringLiteral("square.stack.3d.up.fill");

QString uuidText() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QStringList names() {
    QStringList out;
    const auto entries =
        QDir(folder()).entryInfoList(QDir::Files | QDir::Executable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : entries)
        out << info.fileName();
    return out;
}

// The file's text when it is valid UTF-8; "" otherwise.
QString readUtf8(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(file.readAll());
    return decoder.hasError() ? QString() : text;
}

QString listed(const JSONValue&) {
    const QStringList all = names();
    return all.isEmpty() ? QStringLiteral("Nenhum atalho.") : all.join(u'\n');
}

ActionPreview runCard(const JSONValue& args) {
    QStringList details;
    for (const char* key : {"name", "input"})
        if (const auto value = args.optional(QLatin1String(key))) details << *value;
    return preview(kSymbol, QStringLiteral("Executar atalho"), details);
}

QCoro::Task<QString> runNamed(JSONValue arguments) {
    const QString name = requiredArgument(arguments, QStringLiteral("name"));
    if (!names().contains(name))
        throw ToolError::failed(QStringLiteral("Nenhum atalho chamado \"%1\".").arg(name));
    const QString program = folder() + u'/' + name;

    PrivateTempDir files(QStringLiteral("atalho"));
    if (!files.isValid())
        throw ToolError::failed(QStringLiteral("Não foi possível preparar os arquivos do atalho."));
    QStringList args;
    if (const auto input = arguments.optional(QStringLiteral("input"))) {
        const QString inputPath =
            files.filePath(QStringLiteral("zovra-input-%1.txt").arg(uuidText()));
        if (AtomicFile::write(inputPath, input->toUtf8(), AtomicFile::Access::Private))
            throw ToolError::failed(QStringLiteral("Não foi possível gravar a entrada do atalho."));
        args << QStringLiteral("--input-path") << inputPath;
    }
    // Made empty and private beforehand, so what the shortcut writes is never readable by others.
    const QString outputPath =
        files.filePath(QStringLiteral("zovra-shortcut-%1.txt").arg(uuidText()));
    if (AtomicFile::write(outputPath, {}, AtomicFile::Access::Private))
        throw ToolError::failed(QStringLiteral("Não foi possível preparar os arquivos do atalho."));
    args << QStringLiteral("--output-path") << outputPath;
    co_await Shell::run(program, args, kRunSeconds);

    const QString output = readUtf8(outputPath);
    if (output.isEmpty()) co_return QStringLiteral("Atalho executado");
    co_return QStringLiteral("Atalho executado. Saída: ") +
        Graphemes::first(output, kOutputCharacters);
}

} // namespace

QString folder() {
    return AppPaths::file(QStringLiteral("atalhos"));
}

const AgentTool& listShortcuts() {
    static const AgentTool tool{
        .name = "list_shortcuts",
        .description = "Lista os nomes dos Atalhos (app Atalhos) disponíveis.",
        .parameters = Schema::object({}, {}),
        .kind = Kind::read,
        .symbol = kSymbol,
        .progress = "Lendo atalhos…",
        .group = kGroup,
        .preview = [](const JSONValue&) { return preview(kSymbol, "Listar atalhos"); },
        .run = now(listed),
    };
    return tool;
}

const AgentTool& runShortcut() {
    static const AgentTool tool{
        .name = "run_shortcut",
        .description = "Executa um Atalho do app Atalhos pelo nome exato, com um texto de "
                       "entrada opcional.",
        .parameters = Schema::object({{"name", Schema::string("Nome exato do atalho")},
                                      {"input", Schema::string("Texto de entrada (opcional)")}},
                                     {"name"}),
        .kind = Kind::action,
        .symbol = kSymbol,
        .progress = "Executando atalho…",
        .group = kGroup,
        .editableKey = "input",
        .preview = runCard,
        .run = runNamed,
    };
    return tool;
}

} // namespace nolvea::ShortcutTools
