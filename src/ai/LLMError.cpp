#include "ai/LLMError.h"

#include "support/Graphemes.h"

namespace nolvea {

QString LLMError::message() const {
    switch (m_kind) {
    case Kind::offline:
        return m_subject + QStringLiteral(" não respondeu");
    case Kind::http:
        if (m_status == 401 || m_status == 403)
            return m_subject + QStringLiteral(" recusou a chave de API");
        if (m_status == 429)
            return m_subject + QStringLiteral(": limite de uso atingido, tente daqui a pouco");
        return m_subject + QStringLiteral(" respondeu ") + QString::number(m_status) +
               QStringLiteral(": ") + Graphemes::first(m_body, 160);
    case Kind::missingKey:
        return QStringLiteral("Falta a chave de API do ") + m_subject +
               QStringLiteral(" (Ajustes › IA)");
    case Kind::noModel:
        return QStringLiteral("Escolha um modelo em Ajustes › IA");
    case Kind::refused:
        return QStringLiteral("O modelo recusou o pedido");
    case Kind::emptyResponse:
        return QStringLiteral("O modelo não devolveu resposta");
    }
    return {};
}

} // namespace nolvea
