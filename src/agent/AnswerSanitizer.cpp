#include "agent/AnswerSanitizer.h"

#include <QRegularExpression>

#include <array>

namespace nolvea::AnswerSanitizer {

namespace {

struct Rule {
    QRegularExpression pattern;
    QString replacement;
};

QRegularExpression rx(const char* pattern) {
    return QRegularExpression(QString::fromUtf8(pattern),
                              QRegularExpression::CaseInsensitiveOption |
                                  QRegularExpression::UseUnicodePropertiesOption);
}

const std::array<Rule, 9>& rules() {
    static const std::array<Rule, 9> all{{
        // "link: https://…", "web link: http://…"
        {rx(R"(\b(?:web\s+)?link\s*:\s*https?://\S+)"), QStringLiteral(" ")},
        // Web mail, Docs and Drive links, optionally in parentheses.
        {rx(R"(\(?\s*https?://(?:mail|docs|drive)\.google\.com/\S+\s*\)?)"), QStringLiteral(" ")},
        // "message id: 18c2f…", "thread-id=abc123", "(ID: 1a2b3c4d)"
        {rx(R"(\(?\b(?:message|thread|msg)?[-_ ]?ids?\s*[:#=]?\s*[A-Za-z0-9_\-]*\d[A-Za-z0-9_\-]{3,}\)?)"),
         QStringLiteral(" ")},
        {rx(R"(\b[0-9a-f]{16,}\b)"), QStringLiteral(" ")},
        // A label left alone on its line.
        {rx(R"((?im)^\s*[-•]?\s*(?:link|web link|id)\s*:\s*$\n?)"), QString()},
        {rx(R"(\(\s*\))"), QString()},
        {rx(R"([ \t]{2,})"), QStringLiteral(" ")},
        {rx(R"( +([,.;:]))"), QStringLiteral("\\1")},
        {rx(R"((?m) +$)"), QString()},
    }};
    return all;
}

} // namespace

QString clean(const QString& text) {
    QString result = text;
    for (const auto& rule : rules())
        result.replace(rule.pattern, rule.replacement);
    return result.trimmed();
}

} // namespace nolvea::AnswerSanitizer
