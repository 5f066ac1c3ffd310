#include "mcp/MCPClient.h"

#include "mcp/MCPError.h"
#include "mcp/MCPIncoming.h"
#include "support/ChildProcess.h"
#include "support/Clock.h"
#include "support/Graphemes.h"
#include "support/ProcessStartError.h"
#include "support/json/Schema.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QTimer>

namespace nolvea {

namespace {

const QString kProtocolVersion = QStringLiteral("2025-06-18");

JSONValue emptyObject() {
    return JSONValue(JSONValue::Object{});
}

std::optional<QString> textAt(const JSONValue& v, const QString& key) {
    if (const JSONValue* m = v.member(key)) return m->stringValue();
    return std::nullopt;
}

} // namespace

std::shared_ptr<MCPClient> MCPClient::create(QString name, QString command, QStringList args,
                                             QMap<QString, QString> env) {
    return std::shared_ptr<MCPClient>(
        new MCPClient(std::move(name), std::move(command), std::move(args), std::move(env)));
}

MCPClient::MCPClient(QString name, QString command, QStringList args, QMap<QString, QString> env)
    : m_name(std::move(name))
    , m_command(std::move(command))
    , m_args(std::move(args))
    , m_env(std::move(env)) {}

MCPClient::~MCPClient() {
    stop();
}

QString MCPClient::childPath(const QString& home, const QString& inherited) {
    const QStringList parts{home + QStringLiteral("/.local/bin"),
                            QStringLiteral("/opt/homebrew/bin"),
                            QStringLiteral("/usr/local/bin"),
                            home + QStringLiteral("/.bun/bin"),
                            home + QStringLiteral("/.cargo/bin"),
                            inherited.isEmpty() ? QStringLiteral("/usr/bin:/bin:/usr/sbin:/sbin")
                                                : inherited};
    return parts.join(u':');
}

bool MCPClient::hasProcess() const {
    return bool(m_process);
}

bool MCPClient::isRunning() const {
    return m_process && m_process->isRunning();
}

qint64 MCPClient::processId() const {
    return m_process ? m_pid : 0;
}

QString MCPClient::stderrTail() const {
    std::lock_guard lock(m_lock);
    return m_stderrTail;
}

QString MCPClient::stderrLastLine() const {
    const QStringList lines = stderrTail().split(u'\n', Qt::SkipEmptyParts);
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (!it->trimmed().isEmpty()) return it->trimmed();
    return {};
}

// ---------------------------------------------------------------------------------------------
// Launch and handshake

namespace {

// Built outside the coroutines: g++ 12 mishandles braced literals inside a co_await.
JSONValue initializeParams() {
    return JSONValue::object(
        {{QStringLiteral("protocolVersion"), kProtocolVersion},
         {QStringLiteral("capabilities"), emptyObject()},
         {QStringLiteral("clientInfo"),
          JSONValue::object({{QStringLiteral("name"), JSONValue(QStringLiteral("Nolvea"))},
                             {QStringLiteral("version"), JSONValue(QStringLiteral("1.0"))}})}});
}

JSONValue initializedNotice() {
    return JSONValue::object(
        {{QStringLiteral("jsonrpc"), JSONValue(QStringLiteral("2.0"))},
         {QStringLiteral("method"), JSONValue(QStringLiteral("notifications/initialized"))}});
}

JSONValue requestMessage(qint64 id, const QString& method, const JSONValue& params) {
    return JSONValue::object({{QStringLiteral("jsonrpc"), JSONValue(QStringLiteral("2.0"))},
                              {QStringLiteral("id"), JSONValue::number(double(id))},
                              {QStringLiteral("method"), method},
                              {QStringLiteral("params"), params}});
}

JSONValue callParams(const QString& name, const JSONValue& arguments) {
    return JSONValue::object(
        {{QStringLiteral("name"), name}, {QStringLiteral("arguments"), arguments}});
}

JSONValue cursorParams(const QString& cursor) {
    return JSONValue::object({{QStringLiteral("cursor"), cursor}});
}

} // namespace

QCoro::Task<> MCPClient::start() {
    auto self = shared_from_this();
    co_await launch();
    co_await request(QStringLiteral("initialize"), initializeParams(), initializeTimeout);
    send(initializedNotice());
}

QCoro::Task<> MCPClient::launch() {
    if (m_process || m_stopped) throw MCPError::notRunning(); // never started twice

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PATH"),
                       childPath(QDir::homePath(), environment.value(QStringLiteral("PATH"))));
    for (auto it = m_env.begin(); it != m_env.end(); ++it)
        environment.insert(it.key(), it.value());

    QStringList arguments{m_command};
    for (const QString& a : m_args) {
        if (a == u'~' || a.startsWith(QStringLiteral("~/")))
            arguments << QDir::homePath() + a.mid(1);
        else
            arguments << a;
    }

    ChildProcess::Setup setup;
    setup.program = QStringLiteral("/usr/bin/env");
    setup.arguments = arguments;
    setup.environment = environment;
    setup.input = ChildProcess::Input::pipe;
    setup.stopGrace = stopGrace;
    auto child = std::make_unique<ChildProcess>(std::move(setup));

    std::weak_ptr<MCPClient> weak = weak_from_this();
    child->onOutput([weak](const QByteArray& bytes) {
        if (auto self = weak.lock()) self->receive(bytes);
    });
    child->onErrorOutput([weak](const QByteArray& bytes) {
        if (auto self = weak.lock()) self->receiveError(bytes);
    });
    child->onFinished([weak] {
        if (auto self = weak.lock()) self->failAll(MCPError::notRunning());
    });
    try {
        co_await child->start();
    } catch (const ProcessStartError& e) {
        throw MCPError::launch(e.reason());
    }
    // Stopped while the child was starting: dropping it ends it.
    if (m_stopped) throw MCPError::notRunning();
    m_pid = child->processId();
    m_process = std::move(child);
}

// ---------------------------------------------------------------------------------------------
// Requests

QCoro::Task<JSONValue> MCPClient::request(QString method, JSONValue params, Seconds timeout) {
    auto self = shared_from_this();
    if (!isRunning()) throw MCPError::notRunning();

    qint64 id;
    Promise<JSONValue> reply;
    {
        std::lock_guard lock(m_lock);
        id = m_nextID++;
        m_pending.emplace(id, Waiting{reply, nullptr});
    }
    try {
        send(requestMessage(id, method, params));
    } catch (...) {
        bool mine = false;
        {
            std::lock_guard lock(m_lock);
            mine = m_pending.erase(id) > 0;
        }
        if (mine) reply.reject(std::current_exception());
    }
    if (!reply.isSettled()) {
        std::weak_ptr<MCPClient> weak = weak_from_this();
        std::shared_ptr<ClockTimer> timer =
            Clock::shared().schedule(timeout, false, [weak, id, method] {
                if (auto self = weak.lock()) {
                    const MCPError error = MCPError::timeout(method);
                    self->settle(id, nullptr, &error);
                }
            });
        std::lock_guard lock(m_lock);
        if (auto it = m_pending.find(id); it != m_pending.end()) it->second.timer = timer;
    }
    co_return co_await reply;
}

void MCPClient::send(const JSONValue& message) {
    if (!isRunning()) throw MCPError::notRunning();
    QByteArray bytes = message.compactBytes();
    bytes.append('\n');
    if (!m_process->write(bytes)) throw MCPError::notRunning();
}

// Removes the request from the table and settles it, unless someone else already did.
void MCPClient::settle(qint64 id, const JSONValue* value, const MCPError* error) {
    Waiting waiting;
    {
        std::lock_guard lock(m_lock);
        auto it = m_pending.find(id);
        if (it == m_pending.end()) return;
        waiting = std::move(it->second);
        m_pending.erase(it);
    }
    // The timer may be the caller of this function: let it go once its handler returned.
    if (waiting.timer)
        QTimer::singleShot(0, [t = std::move(waiting.timer)]() mutable { t.reset(); });
    if (error)
        waiting.promise.reject(std::make_exception_ptr(*error));
    else
        waiting.promise.resolve(*value);
}

void MCPClient::failAll(const MCPError& error) {
    std::map<qint64, Waiting> taken;
    {
        std::lock_guard lock(m_lock);
        taken.swap(m_pending);
    }
    for (auto& [id, waiting] : taken) {
        if (waiting.timer)
            QTimer::singleShot(0, [t = std::move(waiting.timer)]() mutable { t.reset(); });
        waiting.promise.reject(std::make_exception_ptr(error));
    }
}

void MCPClient::stop() {
    m_stopped = true;
    failAll(MCPError::notRunning());
    m_process.reset();
    m_pid = 0;
}

void MCPClient::abandon(const MCPError& error) {
    failAll(error);
    m_process.reset();
    m_pid = 0;
}

// ---------------------------------------------------------------------------------------------
// Incoming bytes

void MCPClient::receive(const QByteArray& bytes) {
    std::vector<QByteArray> lines;
    bool runaway = false;
    {
        std::lock_guard lock(m_lock);
        lines = m_lines.append(bytes);
        runaway = m_lines.overflowed();
    }
    for (const QByteArray& line : lines)
        handleLine(line);
    if (runaway)
        abandon(MCPError::protocol(
            QStringLiteral("Servidor MCP mandou uma mensagem grande demais, sem fim de linha.")));
}

void MCPClient::receiveError(const QByteArray& bytes) {
    std::lock_guard lock(m_lock);
    m_stderrTail += m_stderrDecoder.decode(bytes);
    // Cut by code units first so that a flood costs nothing, then by characters.
    if (m_stderrTail.size() > stderrTailLength * 8)
        m_stderrTail = m_stderrTail.right(stderrTailLength * 8);
    m_stderrTail = Graphemes::last(m_stderrTail, stderrTailLength);
}

void MCPClient::handleLine(const QByteArray& line) {
    const MCPIncoming incoming = MCPIncoming::read(line);
    switch (incoming.kind) {
    case MCPIncoming::Kind::ignored:
        return;
    case MCPIncoming::Kind::serverRequest:
        answerServerRequest(incoming.method, incoming.id);
        return;
    case MCPIncoming::Kind::error: {
        const MCPError failure = MCPError::server(incoming.message);
        settle(incoming.number, nullptr, &failure);
        return;
    }
    case MCPIncoming::Kind::result:
        settle(incoming.number, &incoming.result, nullptr);
        return;
    }
}

void MCPClient::answerServerRequest(const QString& method, const JSONValue& id) {
    JSONValue::Object answer{{QStringLiteral("jsonrpc"), "2.0"}, {QStringLiteral("id"), id}};
    if (method == u"ping")
        answer.emplace(QStringLiteral("result"), emptyObject());
    else if (method == u"roots/list")
        answer.emplace(
            QStringLiteral("result"),
            JSONValue::object({{QStringLiteral("roots"), JSONValue(JSONValue::Array{})}}));
    else
        answer.emplace(QStringLiteral("error"),
                       JSONValue::object({{QStringLiteral("code"), JSONValue::number(-32601)},
                                          {QStringLiteral("message"), "Método não suportado"}}));
    try {
        send(JSONValue(std::move(answer)));
    } catch (...) {
    }
}

// ---------------------------------------------------------------------------------------------
// Tools

std::optional<MCPToolInfo> MCPClient::toolInfo(const JSONValue& item) {
    if (!item.isObject()) return std::nullopt;
    const auto name = textAt(item, QStringLiteral("name"));
    if (!name) return std::nullopt;
    MCPToolInfo tool;
    tool.name = *name;
    const JSONValue* annotations = item.member(QStringLiteral("annotations"));
    tool.title = textAt(item, QStringLiteral("title"));
    if (!tool.title && annotations) tool.title = textAt(*annotations, QStringLiteral("title"));
    tool.description = textAt(item, QStringLiteral("description")).value_or(QString());
    const JSONValue* schema = item.member(QStringLiteral("inputSchema"));
    tool.inputSchema = schema ? *schema : Schema::object({});
    if (annotations)
        if (const JSONValue* hint = annotations->member(QStringLiteral("readOnlyHint")))
            tool.readOnly = hint->asBool().value_or(false);
    return tool;
}

QCoro::Task<std::vector<MCPToolInfo>> MCPClient::listTools() {
    auto self = shared_from_this();
    std::vector<MCPToolInfo> tools;
    JSONValue params = emptyObject();
    QSet<QString> cursors;
    for (int page = 1;; ++page) {
        const JSONValue result =
            co_await request(QStringLiteral("tools/list"), params, listTimeout);
        if (const JSONValue* list = result.member(QStringLiteral("tools")))
            for (const JSONValue& item : list->asArray())
                if (auto tool = toolInfo(item)) tools.push_back(std::move(*tool));
        const auto cursor = textAt(result, QStringLiteral("nextCursor"));
        if (!cursor) break;
        // A cursor seen before would loop for ever, and so would a list without end.
        if (page >= maxToolPages || cursors.contains(*cursor)) {
            const MCPError error = MCPError::protocol(
                QStringLiteral("Servidor MCP não terminou a lista de ferramentas."));
            abandon(error);
            throw error;
        }
        cursors.insert(*cursor);
        params = cursorParams(*cursor);
    }
    co_return tools;
}

QString MCPClient::flattenToolResult(const JSONValue& result) {
    QStringList parts;
    if (const JSONValue* content = result.member(QStringLiteral("content"))) {
        for (const JSONValue& item : content->asArray()) {
            const auto type = textAt(item, QStringLiteral("type"));
            if (!type) continue;
            if (*type == u"text") {
                if (auto text = textAt(item, QStringLiteral("text"))) parts << *text;
            } else if (*type == u"resource") {
                if (const JSONValue* resource = item.member(QStringLiteral("resource")))
                    if (auto text = textAt(*resource, QStringLiteral("text"))) parts << *text;
            } else if (*type == u"image") {
                parts << QStringLiteral("[imagem]");
            }
        }
    }
    QString text = parts.join(u'\n');
    if (text.isEmpty())
        if (const JSONValue* structured = result.member(QStringLiteral("structuredContent")))
            text = structured->compactString();
    if (text.size() > toolTextLength && Graphemes::count(text) > toolTextLength)
        text = Graphemes::first(text, toolTextLength) + QStringLiteral("\n…(cortado)");
    const JSONValue* isError = result.member(QStringLiteral("isError"));
    if (isError && isError->asBool() == true)
        throw MCPError::server(text.isEmpty() ? QStringLiteral("Erro na ferramenta.") : text);
    return text.isEmpty() ? QStringLiteral("OK") : text;
}

QCoro::Task<QString> MCPClient::callTool(QString name, JSONValue arguments) {
    auto self = shared_from_this();
    const JSONValue result =
        co_await request(QStringLiteral("tools/call"), callParams(name, arguments), callTimeout);
    co_return flattenToolResult(result);
}

} // namespace nolvea
