#include "app/SelfTest.h"

#include "app/Console.h"
#include "app/DevFlags.h"
#include "support/Error.h"
#include "ui/components/AppIconView.h"
#include "ui/preview/DMGBackground.h"
#include "ui/preview/PreviewRenderer.h"
#include "updates/Updater.h"

#include <QDir>
#include <QFileInfo>

namespace nolvea {

QCoro::Task<bool> SelfTest::run(DevCommand command, QStringList args) {
    using Kind = DevCommand::Kind;
    try {
        switch (command.kind) {
        case Kind::dictation:
            co_return co_await dictation(command.value);
        case Kind::agent: {
            const bool passed = co_await agent(command.value, command.selection);
            co_return co_await followUps(DevFlags::followUps(args)) && passed;
        }
        case Kind::mcp:
            co_return co_await mcp(command.value, command.command, command.serverArgs,
                                   DevFlags::followUps(args));
        case Kind::tts:
            co_return co_await tts(command.value);
        case Kind::anthropicFormat:
            co_return anthropicFormat();
        case Kind::idle:
            co_return co_await idle();
        case Kind::renderIcon:
            co_return renderIcon(command.value);
        case Kind::renderDMGBackground:
            co_return renderDMGBackground(command.value);
        case Kind::renderPreviews:
            co_return co_await renderPreviews(command.value);
        case Kind::update:
            co_return co_await update(Updater::shared(), command.download);
        }
    } catch (const std::exception& e) {
        // A routine reports its own failures; anything that still escapes ends the mode here.
        Console::line(QString::fromUtf8("ERRO: ") + describe(e));
    }
    co_return false;
}

namespace {

// Names every file a renderer could not write: whether all were written.
bool reportUnwritten(const QStringList& failed, const QString& folder) {
    for (const QString& name : failed)
        Console::error(QString::fromUtf8("Não deu para gravar %1 em %2.").arg(name, folder));
    return failed.isEmpty();
}

} // namespace

bool SelfTest::renderIcon(const QString& folder) {
    return reportUnwritten(AppIconView::renderIconset(folder), folder);
}

bool SelfTest::renderDMGBackground(const QString& folder) {
    return reportUnwritten(DMGBackground::render(folder), folder);
}

QCoro::Task<bool> SelfTest::renderPreviews(QString folder) {
    const QStringList failed = co_await PreviewRenderer::render(folder);
    // The path as it was typed: a relative one stays relative.
    Console::line(QString::fromUtf8("Prévias salvas em ") + folder);
    co_return reportUnwritten(failed, folder);
}

} // namespace nolvea
