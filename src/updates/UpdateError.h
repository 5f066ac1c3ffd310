#pragma once

#include "support/Error.h"

namespace nolvea {

// The updater's own failures, with the texts the person sees.
class UpdateError final : public Error {
public:
    enum class Kind { notWritable, badSignature, unpack };

    // `folder` holds the running application.
    static UpdateError notWritable(const QString& folder) { return {Kind::notWritable, folder}; }
    static UpdateError badSignature() { return {Kind::badSignature, {}}; }
    static UpdateError unpack() { return {Kind::unpack, {}}; }

    Kind kind() const { return m_kind; }
    QString folder() const { return m_folder; }
    QString message() const override;

private:
    UpdateError(Kind kind, QString folder)
        : m_kind(kind)
        , m_folder(std::move(folder)) {}

    Kind m_kind;
    QString m_folder;
};

} // namespace nolvea
