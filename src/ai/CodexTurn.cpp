#include "ai/CodexTurn.h"

#include "ai/AccountBridge.h"
#include "ai/BridgeReply.h"
#include "ai/BridgeRunner.h"
#include "support/AtomicFile.h"
#include "support/PrivateTempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace nolvea {

namespace {

using BridgeError = AccountBridge::BridgeError;
constexpr auto cli = AccountBridge::CLI::codex;

// The turn's folder, gone with everything in it however the turn ends.
class TurnFolder {
public:
    TurnFolder() {
        const QString base = PrivateTempDir::base();
        QDir().mkpath(base);
        ::chmod(QFile::encodeName(base).constData(), 0700);
        m_path = base + QStringLiteral("/nolvea-codex-") +
                 QUuid::createUuid().toString(QUuid::WithoutBraces);
        if (::mkdir(QFile::encodeName(m_path).constData(), 0700) != 0) {
            const QString reason = QString::fromLocal8Bit(std::strerror(errno));
            m_path.clear();
            throw BridgeError::failed(
                cli, QStringLiteral("não foi possível criar a pasta temporária (") + reason +
                         QStringLiteral(")"));
        }
    }
    ~TurnFolder() { QDir(m_path).removeRecursively(); }
    TurnFolder(const TurnFolder&) = delete;
    TurnFolder& operator=(const TurnFolder&) = delete;

    QString file(const QString& name) const { return m_path + u'/' + name; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

void writeFile(const QString& path, const QByteArray& data) {
    if (AtomicFile::write(path, data, AtomicFile::Access::Private))
        throw BridgeError::failed(cli, QStringLiteral("não foi possível gravar ") +
                                           QFileInfo(path).fileName());
}

QString imageName(std::size_t n) {
    return QStringLiteral("tela-") + QString::number(n) + QStringLiteral(".png");
}

bool saysSignedOut(const QString& text) {
    return text.contains(QStringLiteral("not logged in"), Qt::CaseInsensitive) ||
           text.contains(QStringLiteral("codex login"), Qt::CaseInsensitive);
}

} // namespace

QStringList CodexTurn::arguments(const QString& folder, const QString& model, bool toolsOffered,
                                 std::size_t images) {
    QStringList args{QStringLiteral("exec"),
                     QStringLiteral("--skip-git-repo-check"),
                     QStringLiteral("--ephemeral"),
                     QStringLiteral("--sandbox"),
                     QStringLiteral("read-only"),
                     QStringLiteral("--color"),
                     QStringLiteral("never"),
                     QStringLiteral("-C"),
                     folder,
                     QStringLiteral("-o"),
                     folder + QStringLiteral("/resposta.txt"),
                     QStringLiteral("-c"),
                     QStringLiteral("model_reasoning_effort=") +
                         (toolsOffered ? QStringLiteral("medium") : QStringLiteral("low"))};
    if (!model.isEmpty() && model != u"padrão") args << QStringLiteral("-m") << model;
    if (toolsOffered)
        args << QStringLiteral("--output-schema") << folder + QStringLiteral("/esquema.json");
    for (std::size_t n = 0; n < images; ++n)
        args << QStringLiteral("-i") << folder + u'/' + imageName(n);
    // The conversation is read from standard input, never passed as an argument. "--" ends the
    // options: "-i" takes several values and would read "-" as one more image.
    args << QStringLiteral("--") << QStringLiteral("-");
    return args;
}

QByteArray CodexTurn::instructions(const BridgePrompt& prompt) {
    return (QStringLiteral("<instrucoes>\n") + prompt.systemText +
            QStringLiteral("\n\nResponda direto a partir do texto abaixo. Não rode comandos nem "
                           "leia arquivos.\n</instrucoes>\n\n") +
            prompt.historyText)
        .toUtf8();
}

QCoro::Task<BridgeOutput> CodexTurn::run(QString executable, QString model, BridgePrompt prompt,
                                         double timeout) {
    const TurnFolder folder;
    const QString replyFile = folder.file(QStringLiteral("resposta.txt"));

    if (prompt.toolsOffered)
        writeFile(folder.file(QStringLiteral("esquema.json")), BridgeReply::schema().toUtf8());
    for (std::size_t n = 0; n < prompt.images.size(); ++n)
        writeFile(folder.file(imageName(n)), prompt.images[n]);
    const QStringList args =
        arguments(folder.path(), model, prompt.toolsOffered, prompt.images.size());

    const BridgeRun run =
        co_await BridgeRunner::run(executable, args, cli, instructions(prompt), timeout);

    QFile reply(replyFile);
    if (run.status == 0 && reply.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = reply.readAll();
        if (reply.error() == QFileDevice::NoError) {
            BridgeOutput output;
            output.text = QString::fromUtf8(bytes);
            if (prompt.toolsOffered) output.structured = bytes;
            co_return output;
        }
    }
    const QString text = run.errorText();
    if (saysSignedOut(text)) throw BridgeError::notLoggedIn(cli);
    throw BridgeError::failed(cli, text.isEmpty() ? QStringLiteral("sem resposta") : text);
}

} // namespace nolvea
