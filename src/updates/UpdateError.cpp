#include "updates/UpdateError.h"

namespace nolvea {

QString UpdateError::message() const {
    switch (m_kind) {
    case Kind::notWritable:
        return QStringLiteral("Sem permissão para atualizar em ") + m_folder +
               QStringLiteral(". Baixe a versão nova pelo site.");
    case Kind::badSignature:
        return QStringLiteral(
            "A atualização baixada não tem a assinatura da Nolvea. Nada foi instalado.");
    case Kind::unpack:
        return QStringLiteral("Não deu para abrir o arquivo da atualização.");
    }
    return {};
}

} // namespace nolvea
