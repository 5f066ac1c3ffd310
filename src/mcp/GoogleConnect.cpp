#include "mcp/GoogleConnect.h"

#include "platform/FilePicker.h"
#include "platform/Platform.h"
#include "support/Clock.h"
#include "support/json/JSONValue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPointer>
#include <QStandardPaths>

namespace nolvea {

namespace {

const QString kClientIDSuffix = QStringLiteral(".apps.googleusercontent.com");
constexpr qint64 kRecentSeconds = 604800; // 7 days

// A Google account: named so, or holding a calendar of a Gmail address.
bool isGoogleSource(const CalendarAccounts::Source& source) {
    const QLocale locale;
    const QString title = locale.toLower(source.title);
    if (title.contains(QStringLiteral("google")) || title.contains(QStringLiteral("gmail")))
        return true;
    for (const QString& calendar : source.calendarTitles)
        if (locale.toLower(calendar).contains(QStringLiteral("@gmail.com"))) return true;
    return false;
}

bool looksLikeAddress(const QString& text) {
    if (!text.contains(u'@') || !text.contains(u'.')) return false;
    for (QChar c : text)
        if (c.isSpace()) return false;
    return true;
}

} // namespace

const QUrl GoogleConnect::cloudConsoleURL(
    QStringLiteral("https://console.cloud.google.com/apis/credentials"));
const QUrl GoogleConnect::enableAPIsURL(
    QStringLiteral("https://console.cloud.google.com/flows/enableapi?apiid="
                   "drive.googleapis.com,docs.googleapis.com,sheets.googleapis.com"));

QString GoogleConnect::ImportError::message() const {
    if (m_kind == Kind::unreadable) return QStringLiteral("Não deu para ler o arquivo.");
    return QStringLiteral(
        "Esse não parece o arquivo de credenciais do Google (client_secret_….json).");
}

GoogleConnect::GoogleConnect(std::shared_ptr<CalendarAccounts> accounts, MCPManager& manager,
                             QObject* parent)
    : QObject(parent)
    , m_accounts(std::move(accounts))
    , m_manager(manager) {
    if (m_accounts) m_calendarAccess = m_accounts->authorization();
}

GoogleConnect::~GoogleConnect() = default;

GoogleConnect& GoogleConnect::shared() {
    static QPointer<GoogleConnect> instance;
    if (!instance)
        instance = new GoogleConnect(Platform::find<CalendarAccounts>(), MCPManager::shared(),
                                     QCoreApplication::instance());
    return *instance;
}

void GoogleConnect::refresh() {
    if (!m_accounts) return;
    const Authorization access = m_accounts->authorization();
    if (access != m_calendarAccess) {
        m_calendarAccess = access;
        Q_EMIT calendarAccessChanged();
    }
    if (m_calendarAccess != Authorization::fullAccess) return;

    QStringList found;
    bool unnamed = false;
    for (const auto& source : m_accounts->sources()) {
        using Type = CalendarAccounts::Source::Type;
        if (source.type != Type::exchange && source.type != Type::calDAV) continue;
        if (!isGoogleSource(source)) continue;
        QStringList candidates{source.title};
        candidates += source.calendarTitles;
        const auto address = std::find_if(candidates.begin(), candidates.end(), looksLikeAddress);
        if (address == candidates.end())
            unnamed = true;
        else if (!found.contains(*address))
            found << *address;
    }
    if (found != m_macAccounts) {
        m_macAccounts = found;
        Q_EMIT macAccountsChanged();
    }
    if (unnamed != m_hasUnnamedAccount) {
        m_hasUnnamedAccount = unnamed;
        Q_EMIT hasUnnamedAccountChanged();
    }
}

void GoogleConnect::startWatching() {
    refresh();
    if (m_timer) return;
    QPointer<GoogleConnect> self(this);
    m_timer = Clock::shared().schedule(watchInterval, true, [self] {
        if (self) self->refresh();
    });
    // The store keeps its observer for its life: register once, heed it only while watching.
    if (m_accounts && !m_observing) {
        m_observing = true;
        m_accounts->watch([self] {
            if (self && self->m_timer) self->refresh();
        });
    }
}

void GoogleConnect::stopWatching() {
    m_timer.reset();
}

QCoro::Task<> GoogleConnect::requestAccess() {
    QPointer<GoogleConnect> self(this);
    if (!m_accounts) co_return;
    auto accounts = m_accounts;
    const Authorization access = accounts->authorization();
    if (access == Authorization::notDetermined) {
        try {
            co_await accounts->requestFullAccess();
        } catch (const std::exception&) {
            // A failed request shows in the state read below.
        }
    } else if (access != Authorization::fullAccess) {
        accounts->openPrivacySettings();
    }
    if (self) self->refresh();
}

const MCPManager::Server* GoogleConnect::workspaceServer() const {
    return m_manager.server(QStringLiteral("google"));
}

bool GoogleConnect::hasUVX() {
    const QString home = QDir::homePath();
    for (const QString& path :
         {home + QStringLiteral("/.local/bin/uvx"), QStringLiteral("/opt/homebrew/bin/uvx"),
          QStringLiteral("/usr/local/bin/uvx"), home + QStringLiteral("/.cargo/bin/uvx")}) {
        const QFileInfo info(path);
        if (info.isFile() && info.isExecutable()) return true;
    }
    return false;
}

std::optional<QString> GoogleConnect::pickCredentialsFile() {
    auto picker = Platform::find<FilePicker>();
    if (!picker) return std::nullopt;
    FilePicker::Request request;
    request.title = QStringLiteral("Escolha o arquivo de credenciais do Google");
    request.message = QStringLiteral("O arquivo client_secret_….json que o Google Cloud baixou");
    request.suffixes = {QStringLiteral("json")};
    request.folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return picker->pickFile(request);
}

std::optional<QString> GoogleConnect::recentCredentialsFile() {
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (downloads.isEmpty()) return std::nullopt;
    const QDir dir(downloads);
    if (!dir.exists()) return std::nullopt;
    const QDateTime now = Clock::shared().now();
    std::optional<QFileInfo> newest;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        if (!info.fileName().startsWith(QStringLiteral("client_secret_")) ||
            info.suffix() != u"json")
            continue;
        const QDateTime modified = info.lastModified();
        if (!modified.isValid() || modified.secsTo(now) >= kRecentSeconds) continue;
        if (!newest || modified > newest->lastModified()) newest = info;
    }
    if (!newest) return std::nullopt;
    return newest->absoluteFilePath();
}

GoogleConnect::Credentials GoogleConnect::credentials(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw ImportError(ImportError::Kind::unreadable);
    const auto root = JSONValue::parse(file.readAll());
    if (!root || !root->isObject()) throw ImportError(ImportError::Kind::unreadable);

    const JSONValue* inner = root->member(QStringLiteral("installed"));
    if (!inner) inner = root->member(QStringLiteral("web"));
    if (!inner || !inner->isObject()) inner = &*root;

    const JSONValue* id = inner->member(QStringLiteral("client_id"));
    const JSONValue* secret = inner->member(QStringLiteral("client_secret"));
    const auto idText = id ? id->asString() : std::nullopt;
    const auto secretText = secret ? secret->asString() : std::nullopt;
    if (!idText || !idText->endsWith(kClientIDSuffix) || !secretText || secretText->isEmpty())
        throw ImportError(ImportError::Kind::wrongFile);
    return Credentials{*idText, *secretText};
}

MCPServerConfig GoogleConnect::workspaceConfig(const QString& email, const Credentials& credentials,
                                               const QStringList& services) {
    QStringList args{QStringLiteral("workspace-mcp"),
                     QStringLiteral("--single-user"),
                     QStringLiteral("--tool-tier"),
                     QStringLiteral("core"),
                     QStringLiteral("--disabled-tools"),
                     QStringLiteral("get_drive_file_download_url"),
                     QStringLiteral("import_to_google_slides"),
                     QStringLiteral("--tools")};
    args += services;
    QMap<QString, QString> env{
        {QStringLiteral("GOOGLE_OAUTH_CLIENT_ID"), credentials.clientID},
        {QStringLiteral("GOOGLE_OAUTH_CLIENT_SECRET"), credentials.clientSecret},
        {QStringLiteral("USER_GOOGLE_EMAIL"), email}};
    return MCPServerConfig{QStringLiteral("uvx"), args, env, std::nullopt};
}

std::optional<MCPError> GoogleConnect::installWorkspace(const QString& email,
                                                        const Credentials& credentials,
                                                        const QStringList& services,
                                                        MCPManager& manager) {
    return manager.setServer(QStringLiteral("google"),
                             workspaceConfig(email, credentials, services));
}

} // namespace nolvea
