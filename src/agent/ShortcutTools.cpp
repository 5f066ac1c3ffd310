#include "agent/ShortcutTools.h"

#include "agent/Shell.h"
#include "agent/ToolError.h"
#include "core/AppPaths.h"
#include "support/AtomicFile.h"
#include "support/Graphemes.h"
#include "support/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUuid>

namespace nolvea::ShortcutTools {

namespace {

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

} // namespace

QString folder() {
    return AppPaths::file(QStringLiteral("atalhos"));
}

QString listShortcuts() {
    const QStringList all = names();
    return all.isEmpty() ? QStringLiteral("Nenhum atalho.") : all.join(u'\n');
}

QCoro::Task<QString> runShortcut(JSONValue arguments) {
    const QString name = arguments.required(QStringLiteral("name"));
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
        if (!AtomicFile::write(inputPath, input->toUtf8(), AtomicFile::Access::Private))
            throw ToolError::failed(QStringLiteral("Não foi possível gravar a entrada do atalho."));
        args << QStringLiteral("--input-path") << inputPath;
    }
    // Made empty and private beforehand, so what the shortcut writes is never readable by others.
    const QString outputPath =
        files.filePath(QStringLiteral("zovra-shortcut-%1.txt").arg(uuidText()));
    if (!AtomicFile::write(outputPath, {}, AtomicFile::Access::Private))
        throw ToolError::failed(QStringLiteral("Não foi possível preparar os arquivos do atalho."));
    args << QStringLiteral("--output-path") << outputPath;
    co_await Shell::run(program, args, kRunSeconds);

    const QString output = readUtf8(outputPath);
    if (output.isEmpty()) co_return QStringLiteral("Atalho executado");
    co_return QStringLiteral("Atalho executado. Saída: ") +
        Graphemes::first(output, kOutputCharacters);
}

} // namespace nolvea::ShortcutTools
