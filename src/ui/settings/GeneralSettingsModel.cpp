#include "ui/settings/GeneralSettingsModel.h"

namespace nolvea::GeneralSettingsModel {

const std::vector<Language>& languages() {
    static const std::vector<Language> table{
        {QStringLiteral("pt-BR"), QStringLiteral("Português (Brasil)")},
        {QStringLiteral("pt-PT"), QStringLiteral("Português (Portugal)")},
        {QStringLiteral("en-US"), QStringLiteral("English (US)")},
        {QStringLiteral("es-ES"), QStringLiteral("Español")},
        {QStringLiteral("fr-FR"), QStringLiteral("Français")},
        {QStringLiteral("de-DE"), QStringLiteral("Deutsch")},
        {QStringLiteral("it-IT"), QStringLiteral("Italiano")},
    };
    return table;
}

QString hotkeyLabel(HotkeyChoice choice) {
    switch (choice) {
    case HotkeyChoice::fn:
        return QStringLiteral("Fn / 🌐");
    case HotkeyChoice::rightOption:
        return QStringLiteral("⌥ Option direito");
    case HotkeyChoice::rightCommand:
        break;
    }
    return QStringLiteral("⌘ Command direito");
}

QString overlayLabel(OverlayStyle style) {
    return style == OverlayStyle::notch ? QStringLiteral("Notch")
                                        : QStringLiteral("Pílula inferior");
}

QString notchDetail(bool hasHardwareNotch) {
    return hasHardwareNotch ? QStringLiteral("Seu Mac tem notch")
                            : QStringLiteral("Sem notch: a ilha aparece no topo da tela");
}

const std::vector<PermissionRow>& permissionRows() {
    static const std::vector<PermissionRow> rows{
        {PermissionKind::microphone, QStringLiteral("Microfone"),
         QStringLiteral("Para ouvir o que você fala. O áudio nunca sai do seu Mac.")},
        {PermissionKind::accessibility, QStringLiteral("Acessibilidade"),
         QStringLiteral("Para colar o texto no app em que você está e ler o texto selecionado.")},
        {PermissionKind::inputMonitoring, QStringLiteral("Monitoramento de Entrada"),
         QStringLiteral("Para perceber quando você segura a tecla de ativação.")},
    };
    return rows;
}

} // namespace nolvea::GeneralSettingsModel
