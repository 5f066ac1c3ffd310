#include "support/SpeechServerScript.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpServer>

namespace nolvea::test {

namespace {

QString binDir() {
    return QDir::homePath() + QStringLiteral("/.local/bin");
}
QString launchLog() {
    return QDir::homePath() + QStringLiteral("/uvx-launches.txt");
}

const char* kScript = R"PY(#!/usr/bin/python3
import http.server, os, subprocess, sys, time, json
with open(os.path.expanduser("~/uvx-launches.txt"), "a") as f:
    f.write(" ".join(sys.argv[1:]) + "\n")
mode = "@MODE@"
print("starting", flush=True)
print("to stderr", file=sys.stderr, flush=True)
if mode == "exit":
    sys.exit(3)
if mode == "hang":
    time.sleep(600)
    sys.exit(0)
port = int(sys.argv[sys.argv.index("--port") + 1])

class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200 if self.path == "/" else 404)
        self.send_header("Content-Length", "2")
        self.end_headers()
        self.wfile.write(b"ok")
    def do_POST(self):
        body = json.loads(self.rfile.read(int(self.headers["Content-Length"])))
        wav = subprocess.run(["espeak-ng", "-v", "pt-br", "--stdout", body["input"]],
                             capture_output=True).stdout
        self.send_response(200)
        self.send_header("Content-Type", "audio/wav")
        self.send_header("Content-Length", str(len(wav)))
        self.end_headers()
        self.wfile.write(wav)
    def log_message(self, *args):
        pass

time.sleep(0.3)  # a server takes a moment to come up
http.server.HTTPServer(("127.0.0.1", port), Handler).serve_forever()
)PY";

} // namespace

void SpeechServerScript::install(Mode mode) {
    QDir().mkpath(binDir());
    QString script = QString::fromUtf8(kScript);
    script.replace(QStringLiteral("@MODE@"), mode == Mode::serve        ? QStringLiteral("serve")
                                             : mode == Mode::exitAtOnce ? QStringLiteral("exit")
                                                                        : QStringLiteral("hang"));
    QFile f(binDir() + QStringLiteral("/uvx"));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(script.toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void SpeechServerScript::remove() {
    QFile::remove(binDir() + QStringLiteral("/uvx"));
    QFile::remove(launchLog());
}

QStringList SpeechServerScript::launches() {
    QFile f(launchLog());
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

quint16 SpeechServerScript::freePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

QByteArray SpeechServerScript::espeakWav(const QString& text) {
    QProcess p;
    p.start(QStringLiteral("espeak-ng"),
            {QStringLiteral("-v"), QStringLiteral("pt-br"), QStringLiteral("--stdout"), text});
    p.waitForFinished(10000);
    return p.readAllStandardOutput();
}

} // namespace nolvea::test
