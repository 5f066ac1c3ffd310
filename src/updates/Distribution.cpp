#include "updates/Distribution.h"

#include "BuildInfo.h"

namespace nolvea::Distribution {

std::optional<QString> value(const QString& key) {
    // The site may be pointed at a mirror or a local test site; releases still have to verify
    // against the built-in key.
    if (key == u"VemkaSiteURL")
        return qEnvironmentVariableIsSet("NOLVEA_SITE_URL")
                   ? qEnvironmentVariable("NOLVEA_SITE_URL")
                   : QString::fromUtf8(buildinfo::kSiteURL);
    if (key == u"CFBundleShortVersionString") return QString::fromUtf8(buildinfo::kVersion);
    if (key == u"CFBundleVersion") return QString::fromUtf8(buildinfo::kBuild);
    return std::nullopt;
}

std::optional<QUrl> url(const QString& key) {
    return urlFrom(value(key));
}

QString version() {
    return versionFrom(value(QStringLiteral("CFBundleShortVersionString")));
}

qint64 build() {
    return buildFrom(value(QStringLiteral("CFBundleVersion")));
}

QString updatePublicKey() {
    return QString::fromUtf8(buildinfo::kUpdatePublicKey);
}

std::optional<QUrl> urlFrom(const std::optional<QString>& raw) {
    // "$(" is a build setting that was never filled in.
    if (!raw || raw->isEmpty() || raw->contains(u"$(")) return std::nullopt;
    QUrl parsed(*raw, QUrl::StrictMode);
    if (!parsed.isValid()) return std::nullopt;
    return parsed;
}

QString versionFrom(const std::optional<QString>& raw) {
    return raw ? *raw : QStringLiteral("1.0");
}

qint64 buildFrom(const std::optional<QString>& raw) {
    if (!raw) return 0;
    return parseInteger(*raw).value_or(0);
}

std::optional<qint64> parseInteger(const QString& text) {
    qsizetype start = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    if (start == text.size()) return std::nullopt;
    for (qsizetype i = start; i < text.size(); ++i)
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    bool ok = false;
    // toLongLong accepts the leading "+" and "-" itself and refuses what overflows.
    const qint64 n = text.toLongLong(&ok, 10);
    if (!ok) return std::nullopt;
    return n;
}

} // namespace nolvea::Distribution
