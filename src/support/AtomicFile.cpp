#include "support/AtomicFile.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nolvea {

namespace {

mode_t currentUmask() {
    // umask can only be read by setting it; do it once, early, and put it back.
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

bool writeAll(int fd, const QByteArray& data) {
    const char* p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) { // never for a regular file; do not spin on it
            errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

std::optional<FileWriteError> AtomicFile::write(const QString& path, const QByteArray& data,
                                                Access access) {
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    QByteArray tmpl = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                        info.fileName() + QStringLiteral(".XXXXXX"));
    // mkstemp creates the file with mode 0600 and O_EXCL, under a name nobody can predict.
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0) return FileWriteError(path, errno);
    const mode_t mode = access == Access::Private ? 0600 : (0666 & ~currentUmask());
    int failure = 0;
    if (::fchmod(fd, mode) != 0 || !writeAll(fd, data) || ::fsync(fd) != 0) failure = errno;
    if (::close(fd) != 0 && !failure) failure = errno;
    if (!failure &&
        ::rename(tmpl.constData(), QFile::encodeName(info.absoluteFilePath()).constData()) != 0)
        failure = errno;
    if (!failure) return std::nullopt;
    ::unlink(tmpl.constData());
    return FileWriteError(path, failure);
}

} // namespace nolvea
