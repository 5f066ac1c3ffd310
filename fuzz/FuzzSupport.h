#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace nolvea::fuzz {

inline QByteArray bytes(const uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A folder of this process's own, emptied between inputs by the targets that write files.
QString scratch();
// Removes everything in `folder` and makes it again, empty.
void renew(const QString& folder);
// Renews `folder` and writes `content` as its file `name`: the file's path, or an empty string
// when it could not be written (the input is then passed over).
QString freshFile(const QString& folder, const QString& name, const QByteArray& content);

// A property every input must keep: a breach is a finding, like a crash.
[[noreturn]] inline void fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, what);
    std::abort();
}

} // namespace nolvea::fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) ::nolvea::fuzz::fail(#condition, __FILE__, __LINE__);                    \
    } while (false)
