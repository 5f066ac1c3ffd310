#include "app/Console.h"

#include <QByteArray>

#include <cerrno>
#include <unistd.h>

namespace nolvea {

namespace {

void writeAll(int fd, QByteArray bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return; // a closed pipe: nobody is reading any more
        }
        data += n;
        left -= n;
    }
}

} // namespace

void Console::line(const QString& text) {
    writeAll(STDOUT_FILENO, text.toUtf8() + '\n');
}

void Console::error(const QString& text) {
    writeAll(STDERR_FILENO, text.toUtf8() + '\n');
}

QString Console::seconds(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

} // namespace nolvea
