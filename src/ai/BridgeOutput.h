#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace nolvea {

// What one turn of an account tool answered: its text, and the raw structured reply when
// tools were offered.
struct BridgeOutput {
    QString text;
    std::optional<QByteArray> structured;
};

} // namespace nolvea
