#pragma once

#include <QString>

namespace nolvea {

// One message as the mail store shows it.
struct EmailSummary {
    QString id{};
    QString sender{};
    QString subject{};
    QString date{};
    QString snippet{};

    bool operator==(const EmailSummary&) const = default;
};

} // namespace nolvea
