#include "ui/settings/UpdateRowModel.h"

#include "ui/components/Brand.h"

namespace nolvea::UpdateRowModel {

Look look(const UpdatePhase& phase, bool canCheck) {
    using Kind = UpdatePhase::Kind;
    Look l;
    l.color = Brand::suave();
    switch (phase.kind) {
    case Kind::idle:
        l.button = QStringLiteral("Procurar atualizações");
        l.symbol = QStringLiteral("arrow.triangle.2.circlepath");
        l.enabled = canCheck;
        l.action = Action::check;
        break;
    case Kind::checking:
        l.progress = true;
        l.status = QStringLiteral("Procurando…");
        break;
    case Kind::upToDate:
        l.status = QStringLiteral("Você está na versão mais nova");
        l.symbol = QStringLiteral("checkmark.circle.fill");
        l.color = Brand::verde();
        l.button = QStringLiteral("Procurar de novo");
        l.action = Action::check;
        break;
    case Kind::available:
        l.status = QStringLiteral("Versão ") +
                   (phase.release ? phase.release->version : QString()) +
                   QStringLiteral(" disponível");
        l.symbol = QStringLiteral("sparkles");
        l.color = Brand::roxoTexto();
        l.button = QStringLiteral("Atualizar agora");
        l.primary = true;
        l.action = Action::install;
        break;
    case Kind::downloading:
        l.progress = true;
        l.status = QStringLiteral("Baixando a atualização…");
        break;
    case Kind::installing:
        l.progress = true;
        l.status = QStringLiteral("Instalando…");
        break;
    case Kind::failed:
        l.status = phase.message;
        l.color = Brand::erro();
        l.maxLines = 2;
        l.button = QStringLiteral("Tentar de novo");
        l.action = Action::check;
        break;
    }
    return l;
}

} // namespace nolvea::UpdateRowModel
