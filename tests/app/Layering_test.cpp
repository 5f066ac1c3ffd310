// The folders of src/ form one order: a folder includes its own headers and those of the
// folders before it, never one after it.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTextStream>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

// Folders in order, one tier a line; folders of one tier do not see each other.
// `platform/linux` is the odd one out: it sees only `platform` and `support`, and only `app`
// sees it, since that is where the Linux layer is chosen.
const std::vector<QStringList> kTiers = {
    {"support"},
    {"platform"},
    {"core"},
    {"audio", "input", "system"},
    {"ai", "updates"},
    {"mcp"},
    {"agent"},
    {"speech"},
    {"ui"},
    {"app"},
};
const QString kLinux = QStringLiteral("platform/linux");
// Headers written by the build, seen by every folder.
const QStringList kGenerated = {"BuildInfo.h"};

// The folder a path below src/ belongs to: its first part, or `platform/linux`.
QString folderOf(const QString& path) {
    if (path.startsWith(kLinux + u'/')) return kLinux;
    return path.section(u'/', 0, 0);
}

std::optional<int> tierOf(const QString& folder) {
    for (int i = 0; i < int(kTiers.size()); ++i)
        if (kTiers[i].contains(folder)) return i;
    return std::nullopt;
}

// Why `file` (a path below src/) may not include `header`; nothing when it may.
std::optional<QString> refusal(const QString& file, const QString& header) {
    if (!header.contains(u'/')) {
        if (kGenerated.contains(header)) return std::nullopt;
        return QStringLiteral("includes \"%1\" without its folder").arg(header);
    }
    const QString from = folderOf(file);
    const QString to = folderOf(header);
    if (from == to) return std::nullopt;
    if (from == kLinux) {
        if (to == QStringLiteral("platform") || to == QStringLiteral("support"))
            return std::nullopt;
        return QStringLiteral("platform/linux sees only platform and support, not %1").arg(to);
    }
    if (to == kLinux) {
        if (from == QStringLiteral("app")) return std::nullopt;
        return QStringLiteral("only app chooses the Linux layer");
    }
    const auto fromTier = tierOf(from);
    const auto toTier = tierOf(to);
    if (!fromTier) return QStringLiteral("folder %1 is not in the order").arg(from);
    if (!toTier) return QStringLiteral("folder %1 is not in the order").arg(to);
    if (*toTier < *fromTier) return std::nullopt;
    return QStringLiteral("%1 may not see %2").arg(from, to);
}

// "file:line: reason" for every include of `text` against the order.
QStringList violations(const QString& file, const QString& text) {
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    QStringList found;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto match = include.match(lines[i]);
        if (!match.hasMatch()) continue;
        if (auto why = refusal(file, match.captured(1)))
            found << QStringLiteral("src/%1:%2: %3").arg(file).arg(i + 1).arg(*why);
    }
    return found;
}

TEST(Layering, TheRuleCatchesIncludesAgainstTheOrder) {
    struct Case {
        const char* file;
        const char* header;
        bool allowed;
    };
    const Case cases[] = {
        {"core/AppState.h", "support/json/JSONValue.h", true},
        {"core/AppState.h", "core/VoiceMode.h", true},
        {"agent/Agent.cpp", "mcp/MCPManager.h", true},
        {"ui/components/Card.cpp", "ui/animation/Spring.h", true},
        {"updates/Distribution.cpp", "BuildInfo.h", true},
        {"app/Entry.cpp", "platform/linux/LinuxPlatform.h", true},
        {"platform/linux/Sendmail.cpp", "platform/MailTransport.h", true},
        {"core/AppState.h", "agent/ActionPreview.h", false},
        {"ai/Warmup.cpp", "agent/Agent.h", false},
        {"support/json/JSONValue.cpp", "agent/ToolError.h", false},
        {"audio/Sounds.cpp", "input/HotkeyMonitor.h", false}, // one tier, not each other
        {"platform/linux/Pocketsphinx.cpp", "core/AppPaths.h", false},
        {"speech/Speaker.cpp", "platform/linux/QtSystemVoice.h", false},
        {"platform/AudioInput.h", "audio/AudioBuffer.h", false},
        {"core/Thing.h", "Thing.h", false},
        {"gadgets/Thing.h", "support/Error.h", false},
    };
    for (const Case& c : cases) {
        const QString file = QString::fromUtf8(c.file);
        const QString text = QStringLiteral("#pragma once\n\n#include \"%1\"\n").arg(c.header);
        const QStringList found = violations(file, text);
        EXPECT_EQ(found.isEmpty(), c.allowed) << c.file << " → " << c.header;
        if (!c.allowed && !found.isEmpty()) {
            EXPECT_TRUE(found.front().startsWith(QStringLiteral("src/%1:3: ").arg(file)))
                << found.front().toStdString();
        }
    }
    // Angle brackets are other libraries; a commented-out include is no include.
    EXPECT_TRUE(
        violations("core/A.h", "#include <QString>\n// #include \"agent/Agent.h\"\n").isEmpty());
}

TEST(Layering, EveryIncludeInTheSourcesFollowsTheOrder) {
    const QString root = QStringLiteral(NOLVEA_SOURCE_DIR "/src");
    QStringList found;
    int files = 0;
    QDirIterator it(root, {"*.h", "*.cpp", "*.h.in"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(root.size() + 1);
        if (!relative.contains(u'/')) continue; // the build's own files at the top
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        found << violations(relative, QString::fromUtf8(file.readAll()));
        ++files;
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

} // namespace
