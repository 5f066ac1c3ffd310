#include "support/FrontApp.h"

#include "support/Async.h"

#include <QProcessEnvironment>

namespace nolvea::test {

namespace {
QString helperPath() {
    return QStringLiteral(NOLVEA_BINARY_DIR "/tests/helpers/nolvea_front_app");
}
} // namespace

FrontApp::FrontApp()
    : FrontApp(Options{}) {}

FrontApp::FrontApp(const Options& options)
    : m_process(std::make_unique<QProcess>()) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QRect& g = options.geometry;
    QStringList args{
        QStringLiteral("--app-class"),
        options.windowClass,
        QStringLiteral("--window-title"),
        options.title,
        QStringLiteral("--background"),
        options.color,
        QStringLiteral("--rect"),
        QStringLiteral("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())};
    if (!options.iconColor.isEmpty()) args << QStringLiteral("--window-icon") << options.iconColor;
    m_process->start(helperPath(), args);
    const QByteArray ready = command({});
    const QList<QByteArray> words = ready.split(' ');
    if (words.value(0) == "ready") {
        m_window = words.value(1).toULongLong();
        m_pid = words.value(2).toInt();
    }
}

FrontApp::~FrontApp() {
    if (m_process->state() == QProcess::NotRunning) return;
    m_process->write("quit\n");
    if (!m_process->waitForFinished(3000)) {
        m_process->kill();
        m_process->waitForFinished(3000);
    }
}

QByteArray FrontApp::command(const QByteArray& line) {
    if (!line.isEmpty()) m_process->write(line + '\n');
    qsizetype end = -1;
    spinUntil(
        [&] {
            m_output.append(m_process->readAllStandardOutput());
            end = m_output.indexOf('\n');
            return end >= 0 || m_process->state() == QProcess::NotRunning;
        },
        10000);
    if (end < 0) return {};
    const QByteArray reply = m_output.left(end);
    m_output.remove(0, end + 1);
    return reply;
}

void FrontApp::focus() {
    command("focus");
}

QList<quint32> FrontApp::keysPressed() {
    QList<quint32> out;
    const QByteArray reply = command("keys");
    for (const QByteArray& hex : reply.mid(5).split(','))
        if (!hex.isEmpty()) out << hex.toUInt(nullptr, 16);
    return out;
}

QString FrontApp::text() {
    const QByteArray reply = command("text");
    return QString::fromUtf8(QByteArray::fromBase64(reply.mid(5)));
}

void FrontApp::setText(const QString& text) {
    command("set " + text.toUtf8().toBase64());
}

void FrontApp::select(int start, int length) {
    command("select " + QByteArray::number(start) + ' ' + QByteArray::number(length));
}

void FrontApp::setCaret(int position) {
    command("caret " + QByteArray::number(position));
}

void FrontApp::setClipboard(const QList<QPair<QString, QByteArray>>& formats) {
    QByteArray line = "clip";
    for (const auto& [type, data] : formats)
        line += ' ' + type.toUtf8() + ' ' + data.toBase64();
    command(line);
}

} // namespace nolvea::test
