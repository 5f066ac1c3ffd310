#include "support/FileWriteError.h"

#include <cstring>

namespace nolvea {

QString FileWriteError::reason() const {
    return QString::fromLocal8Bit(std::strerror(m_systemError));
}

QString FileWriteError::message() const {
    return QStringLiteral("Não foi possível gravar o arquivo ") + m_path + QStringLiteral(".");
}

} // namespace nolvea
