#pragma once

#include "support/Error.h"

#include <QString>

namespace nolvea {

// A file that could not be written. Whatever stood at its path is left as it was.
class FileWriteError final : public Error {
public:
    // `systemError` is the errno of the step that failed.
    FileWriteError(QString path, int systemError)
        : m_path(std::move(path))
        , m_systemError(systemError) {}

    const QString& path() const { return m_path; }
    int systemError() const { return m_systemError; }
    // The system's own description of the failure.
    QString reason() const;
    QString message() const override;

private:
    QString m_path;
    int m_systemError;
};

} // namespace nolvea
