#include "app/DevFlags.h"

namespace nolvea {

namespace {

// The argument after the first occurrence of `flag`; nothing when absent or last.
std::optional<QString> valueOf(const QStringList& args, const QString& flag) {
    const qsizetype at = args.indexOf(flag);
    if (at < 0 || at + 1 >= args.size()) return std::nullopt;
    return args[at + 1];
}

} // namespace

bool DevFlags::selectsDeveloperMode(const QStringList& args) {
    for (const QString& arg : args)
        if (arg.startsWith(u"--selftest") || arg.startsWith(u"--render-")) return true;
    return false;
}

std::optional<DevCommand> DevFlags::scan(const QStringList& args) {
    using Kind = DevCommand::Kind;
    if (auto file = valueOf(args, QStringLiteral("--selftest-dictation")))
        return DevCommand{Kind::dictation, *file};
    if (auto request = valueOf(args, QStringLiteral("--selftest-agent"))) {
        DevCommand agent{Kind::agent, *request};
        agent.selection = valueOf(args, QStringLiteral("--selection")).value_or(QString());
        return agent;
    }
    if (const qsizetype at = args.indexOf(u"--selftest-mcp"); at >= 0 && at + 2 < args.size()) {
        DevCommand mcp{Kind::mcp, args[at + 1]};
        mcp.command = args[at + 2];
        // The server's own arguments end where the follow-up requests begin.
        for (qsizetype i = at + 3; i < args.size() && args[i] != u"--then"; ++i)
            mcp.serverArgs << args[i];
        return mcp;
    }
    if (auto text = valueOf(args, QStringLiteral("--selftest-tts")))
        return DevCommand{Kind::tts, *text};
    if (args.contains(u"--selftest-idle")) return DevCommand{Kind::idle};
    if (args.contains(u"--selftest-anthropic-format")) return DevCommand{Kind::anthropicFormat};
    if (auto folder = valueOf(args, QStringLiteral("--render-icon")))
        return DevCommand{Kind::renderIcon, *folder};
    if (auto folder = valueOf(args, QStringLiteral("--render-dmg-background")))
        return DevCommand{Kind::renderDMGBackground, *folder};
    if (args.contains(u"--selftest-update"))
        return DevCommand{Kind::update, {}, args.contains(u"--baixar")};
    if (auto folder = valueOf(args, QStringLiteral("--render-previews")))
        return DevCommand{Kind::renderPreviews, *folder};
    return std::nullopt;
}

QStringList DevFlags::followUps(const QStringList& args) {
    QStringList requests;
    for (qsizetype i = 0; i + 1 < args.size(); ++i)
        if (args[i] == u"--then") requests << args[i + 1];
    return requests;
}

} // namespace nolvea
