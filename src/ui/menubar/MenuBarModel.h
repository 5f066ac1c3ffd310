#pragma once

#include "core/AppState.h"
#include "core/HistoryEntry.h"
#include "core/HotkeyChoice.h"
#include "core/VoiceMode.h"
#include "platform/PermissionKind.h"
#include "ui/components/BrandMarkModel.h"
#include "updates/UpdatePhase.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace nolvea {

// The texts and choices of the tray's window, free of any widget: what each card says, which
// cards show, and which footer buttons can be used.
class MenuBarModel {
public:
    static constexpr int kWidth = 340;
    static constexpr int kRecentCount = 3;

    struct UpdateOffer {
        QString title; // "Versão 1.2 disponível"
        QString notes;
        UpdateRelease release;
    };
    struct PermissionRow {
        PermissionKind kind;
        QString symbol;
        QString name;
    };
    enum class Toggle { aiCleanup, agent, sounds };
    struct ToggleRow {
        Toggle toggle;
        QString symbol;
        QString title;
    };
    struct RecentRow {
        QUuid id;
        QString symbol;
        QString output;
    };
    enum class Action { history, settings, demo, quit };
    struct FooterButton {
        Action action;
        QString title; // shown beside the icon unless `iconOnly`; always the accessible name
        QString symbol;
        bool iconOnly;
        QString tooltip;
        bool enabled;
    };
    // Which of the places the footer leads to exist in this build.
    struct Reachable {
        bool historyDrawer = false;
        bool settings = false;
        bool demo = false;
    };

    // The key as the status line names it, and as its key cap reads.
    static QString keyName(HotkeyChoice key);
    static QString keyCapLabel(HotkeyChoice key);
    // The header's one line under the product name.
    static QString statusLine(AppState::Stage stage, VoiceMode mode, HotkeyChoice key,
                              const QString& statusText);
    static BrandMarkInputs brandMark(AppState::Stage stage, VoiceMode mode,
                                     const QList<float>& levels);

    // The update card, only while a release is on offer.
    static std::optional<UpdateOffer> updateOffer(const UpdatePhase& phase);
    // One row per permission not in `grantedMask` (bit 1 << kind), microphone first.
    static QList<PermissionRow> missingPermissions(int grantedMask);
    // The second line of the model card.
    static QString modelLine(const QString& model);
    static const QList<ToggleRow>& toggles();
    // The newest entries, at most three.
    static QList<RecentRow> recentRows(const QList<HistoryEntry>& entries);
    static QString kindSymbol(HistoryEntry::Kind kind);
    static QList<FooterButton> footer(const Reachable& reachable);

    MenuBarModel() = delete;
};

} // namespace nolvea
