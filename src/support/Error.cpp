#include "support/Error.h"

namespace nolvea {

const char* Error::what() const noexcept {
    if (m_what.empty()) m_what = message().toStdString();
    return m_what.c_str();
}

QString describe(const std::exception& e) {
    if (const auto* own = dynamic_cast<const Error*>(&e)) return own->message();
    return QString::fromUtf8(e.what());
}

QString describe(std::exception_ptr e) {
    try {
        if (e) std::rethrow_exception(e);
    } catch (const std::exception& ex) {
        return describe(ex);
    } catch (...) {
    }
    return QStringLiteral("Erro desconhecido.");
}

} // namespace nolvea
