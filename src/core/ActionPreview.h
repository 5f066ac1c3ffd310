#pragma once

#include "core/EmailDraft.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nolvea {

// The card shown before an action runs, and the title a dry run reports.
struct ActionPreview {
    QString symbol{};
    QString title{};
    QStringList details{};
    std::optional<QString> editableKey{}; // filled in by the loop from the tool
    QString editableValue{};
    std::optional<QString> appName{};
    std::optional<EmailDraft> email{};
    std::optional<QString> alternateLabel{}; // the second button, when the tool offers one

    bool operator==(const ActionPreview&) const = default;
};

} // namespace nolvea
