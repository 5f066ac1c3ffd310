#pragma once

#include "core/HotkeyChoice.h"
#include "core/OverlayStyle.h"
#include "platform/PermissionKind.h"

#include <QString>

#include <vector>

namespace nolvea {

// The fixed texts and choices of the general pane.
namespace GeneralSettingsModel {

struct Language {
    QString identifier;
    QString label;
};
// The speech languages offered, in display order.
const std::vector<Language>& languages();

QString hotkeyLabel(HotkeyChoice choice);
QString overlayLabel(OverlayStyle style);
// The explanation under "Onde mostrar".
QString notchDetail(bool hasHardwareNotch);

struct PermissionRow {
    PermissionKind kind;
    QString title;
    QString detail;
};
const std::vector<PermissionRow>& permissionRows();

} // namespace GeneralSettingsModel

} // namespace nolvea
