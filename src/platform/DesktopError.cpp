#include "platform/DesktopError.h"

namespace nolvea {

QString DesktopError::message() const {
    switch (m_kind) {
    case Kind::noX11:
        return QStringLiteral("Esta sessão não tem X11: o atalho global, a colagem automática e a "
                              "leitura da tela precisam de uma sessão X11.");
    case Kind::unreachable:
        return QStringLiteral("Não consegui me conectar ao servidor X11.");
    case Kind::noXInput2:
        return QStringLiteral("O servidor X11 não oferece o XInput2, necessário para o atalho "
                              "global.");
    case Kind::noXTest:
        return QStringLiteral("O servidor X11 não oferece o XTest, necessário para colar o "
                              "texto.");
    case Kind::keyUnavailable:
        return QStringLiteral("O teclado atual não tem as teclas para colar (Ctrl+V).");
    case Kind::noClipboard:
        return QStringLiteral("A área de transferência não está disponível.");
    case Kind::noScreen:
        return QStringLiteral("Nenhuma tela encontrada.");
    case Kind::imageFailed:
        return QStringLiteral("Não consegui gerar a imagem.");
    }
    return {};
}

} // namespace nolvea
