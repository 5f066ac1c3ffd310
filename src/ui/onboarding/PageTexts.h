#pragma once

#include "core/AIConnection.h"
#include "core/AIProvider.h"
#include "core/HotkeyChoice.h"
#include "ui/components/InlineMarkdown.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace nolvea::PageTexts {

// Welcome: the greeting the title ends on, by the stored name (as stored) or, when that is
// empty, the suggested one.
QString finalGreeting(const QString& storedName, const QString& suggestedName);
const QStringList& greetings();

// Name: the preview bubble's greeting.
QString nameGreeting(const QString& userName);

// Hotkey: the warning about the system's own use of the fn key; nothing when it does none.
std::optional<QString> fnWarning(HotkeyChoice hotkey, std::optional<int> fnUsage);

// Google.
QString waitingText(bool fullCalendarAccess);
// The third guide step's styled runs; the file name is one bold run, never read as markup.
QList<MarkdownRun> credentialsStep(const std::optional<QString>& recentFileName);
QString credentialsButton(bool hasRecentFile);
bool canImport(const QString& email);

// Done.
QString doneTitle(const QString& storedName);
struct Tile {
    QString title;
    QString value;
    bool ok = false;

    friend bool operator==(const Tile&, const Tile&) = default;
};
struct DoneFacts {
    HotkeyChoice hotkey = HotkeyChoice::fn;
    AIConnection connection = AIConnection::unknown;
    AIProvider provider;
    QString model;
    int grantedCount = 0;
    QStringList googleAccounts;
    bool unnamedAccount = false;
    bool workspaceServer = false;
};
// Hotkey, AI, permissions, Google, in that order.
std::vector<Tile> summary(const DoneFacts& facts);
QString tryItDetail(HotkeyChoice hotkey);

} // namespace nolvea::PageTexts
