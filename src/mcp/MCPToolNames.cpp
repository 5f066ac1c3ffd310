#include "mcp/MCPManager.h"

#include "platform/Launcher.h"
#include "platform/Platform.h"

#include <QRegularExpression>

#include <algorithm>

namespace nolvea {

namespace {

constexpr qsizetype kNameLength = 64;
const QString kGoogleSignIn = QStringLiteral("accounts.google.com");

// The same name cut to leave room for "_<n>".
QString numbered(const QString& name, int n) {
    const QString suffix = u'_' + QString::number(n);
    return name.left(kNameLength - suffix.size()) + suffix;
}

} // namespace

QString MCPManager::toolName(const QString& server, const QString& tool) {
    const QString joined =
        (QStringLiteral("mcp_") + server + u'_' + tool).normalized(QString::NormalizationForm_C);
    QString safe;
    safe.reserve(joined.size());
    for (qsizetype i = 0; i < joined.size(); ++i) {
        const char32_t c = joined.at(i).isHighSurrogate() && i + 1 < joined.size()
                               ? QChar::surrogateToUcs4(joined.at(i), joined.at(i + 1))
                               : joined.at(i).unicode();
        if (c > 0xFFFF) ++i;
        if (QChar::isLetterOrNumber(c) || c == U'_' || c == U'-')
            safe += QString::fromUcs4(&c, 1);
        else
            safe += u'_';
    }
    // Accents go: "ç" → "c". What is still not plain ASCII after that becomes "_" too,
    // since model providers take only [A-Za-z0-9_-] in a function name.
    QString ascii;
    for (QChar c : safe.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing) continue;
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
        if (plain) {
            ascii += c;
        } else if (!c.isLowSurrogate()) {
            ascii += u'_';
        }
    }
    return ascii.left(kNameLength);
}

bool MCPManager::looksReadOnly(const QString& name) {
    static const QStringList prefixes{"get_",   "list_",  "search_", "read_",    "find_",
                                      "query_", "fetch_", "lookup_", "describe_"};
    const QString lower = name.toLower();
    return std::any_of(prefixes.begin(), prefixes.end(),
                       [&](const QString& p) { return lower.startsWith(p); });
}

bool MCPManager::isLoginRequest(const QString& message) {
    const QString lower = message.toLower();
    return lower.contains(QStringLiteral("authentication needed")) ||
           lower.contains(QStringLiteral("authorization url")) ||
           lower.contains(kGoogleSignIn + QStringLiteral("/o/oauth2"));
}

std::optional<QUrl> MCPManager::loginPage(const QString& message) {
    static const QRegularExpression pattern(QStringLiteral("https://") +
                                            QRegularExpression::escape(kGoogleSignIn) +
                                            QStringLiteral("/o/oauth2/[^\\s)\\]]+"));
    const auto match = pattern.match(message);
    if (!match.hasMatch()) return std::nullopt;
    const QUrl url(match.captured(0), QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    return url;
}

void MCPManager::openLoginPage(const QString& message) {
    const auto url = loginPage(message);
    if (!url) return;
    if (auto launcher = Platform::find<Launcher>()) {
        try {
            launcher->openURL(*url);
        } catch (const std::exception&) {
            // The model still tells the person to sign in; the page can be opened by hand.
        }
    }
}

std::optional<MCPManager::ToolTarget> MCPManager::toolTarget(const QString& agentToolName) const {
    auto it = m_toolTargets.find(agentToolName);
    if (it == m_toolTargets.end()) return std::nullopt;
    return it->second;
}

std::vector<MCPManager::OfferedTool> MCPManager::offeredTools() {
    std::vector<OfferedTool> result;
    std::map<QString, ToolTarget> targets;
    for (const Server& server : m_servers) {
        if (server.state.kind != ServerState::Kind::running) continue;
        std::vector<const MCPToolInfo*> tools;
        for (const MCPToolInfo& t : server.tools)
            tools.push_back(&t);
        std::stable_sort(tools.begin(), tools.end(),
                         [](const auto* a, const auto* b) { return a->name < b->name; });
        for (const MCPToolInfo* tool : tools) {
            // Two tools whose names fold to the same text are told apart by a number.
            QString name = toolName(server.name, tool->name);
            for (int n = 2; targets.contains(name); ++n)
                name = numbered(toolName(server.name, tool->name), n);
            targets.emplace(name, ToolTarget{server.name, tool->name});
            result.push_back(OfferedTool{name, server.name, *tool});
        }
    }
    m_toolTargets = std::move(targets);
    return result;
}

} // namespace nolvea
