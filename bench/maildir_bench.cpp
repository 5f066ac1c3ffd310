// E-mail look-ups over an inbox of 5,000 messages of about 100 KB each, with a warm page
// cache: the listing the agent asks for, a filtered listing that matches nothing, and one
// message by id (as a reply does).
#include "BenchMain.h"
#include "agent/MailBackend.h"
#include "agent/Maildir.h"
#include "support/Async.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimeZone>
#include <benchmark/benchmark.h>

using namespace nolvea;

namespace {

constexpr int kMessages = 5000;
constexpr int kBodyBytes = 100 * 1024;

// Writes the inbox once; returns the id of the oldest message.
const QString& inbox() {
    static const QString oldest = [] {
        const QString root = Maildir::defaultRoot();
        QDir().mkpath(root + "/cur");
        QDir().mkpath(root + "/new");
        QDir().mkpath(root + "/tmp");
        QByteArray line(76, 'x');
        line += '\n';
        QByteArray body;
        while (body.size() < kBodyBytes)
            body += line;
        const QDateTime start(QDate(2026, 1, 1), QTime(8, 0), QTimeZone::utc());
        QString first;
        for (int i = 0; i < kMessages; ++i) {
            const QDateTime at = start.addSecs(qint64(i) * 600);
            const QString name = QString("%1.M%2P1.host").arg(at.toSecsSinceEpoch()).arg(i);
            const QString path = root + (i % 10 == 0 ? "/new/" + name : "/cur/" + name + ":2,S");
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write("From: Pessoa " + QByteArray::number(i) + " <p" + QByteArray::number(i) +
                    "@ex.com>\nSubject: Assunto " + QByteArray::number(i) +
                    "\nDate: " + at.toString(Qt::RFC2822Date).toLatin1() + "\nMessage-ID: <" +
                    QByteArray::number(i) +
                    "@ex.com>\nContent-Type: text/plain; charset=utf-8\n\n" + body);
            f.close();
            f.setFileTime(at, QFileDevice::FileModificationTime);
            if (i == 0) first = Maildir::idFor(path);
        }
        return first;
    }();
    return oldest;
}

void BM_MaildirRecent(benchmark::State& state) {
    inbox();
    for (auto _ : state) {
        const auto found = test::await(MailBackend::recent(std::nullopt, 8));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MaildirRecent)->Unit(benchmark::kMillisecond);

void BM_MaildirRecentMatchingNothing(benchmark::State& state) {
    inbox();
    for (auto _ : state) {
        const auto found = test::await(MailBackend::recent(QStringLiteral("ninguém"), 8));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MaildirRecentMatchingNothing)->Unit(benchmark::kMillisecond);

void BM_MaildirMessageById(benchmark::State& state) {
    const QString id = inbox();
    for (auto _ : state) {
        const auto found = test::await(MailBackend::message(id));
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_MaildirMessageById)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::runInTestEnvironment<QCoreApplication>(argc, argv);
}
