#pragma once

#include <QString>
#include <exception>
#include <string>

namespace nolvea {

// Base of every failure the system reports: each carries its user-facing (Portuguese) message.
class Error : public std::exception {
public:
    virtual QString message() const = 0;
    const char* what() const noexcept override;

private:
    mutable std::string m_what;
};

// Thrown at a cancellation point once the work was cancelled.
class Cancelled final : public Error {
public:
    QString message() const override { return QStringLiteral("Cancelado."); }
};

// The message of any exception: ours carry their own, others their what().
QString describe(const std::exception& e);
QString describe(std::exception_ptr e);

} // namespace nolvea
