#pragma once

#include "support/FileWriteError.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace nolvea {

// Whole-file replacement: the bytes go to a fresh temporary file beside the target, which is
// flushed and renamed over it, so a reader sees either the old or the new file, never a mix.
class AtomicFile {
public:
    enum class Access {
        Private, // 0600 from the moment the temporary file exists: nobody else can ever read it
        Normal,  // 0666 less the umask, like any newly created file
    };

    // Writes `data` to `path`, creating the parent folder when needed. Nothing when it worked;
    // on a failure the target is left as it was and no temporary file stays behind.
    [[nodiscard]] static std::optional<FileWriteError>
    write(const QString& path, const QByteArray& data, Access access = Access::Normal);
};

} // namespace nolvea
