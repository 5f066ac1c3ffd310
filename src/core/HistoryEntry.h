#pragma once

#include "support/RawEnum.h"
#include "support/json/JSONValue.h"

#include <QDateTime>
#include <QUuid>

#include <optional>

namespace nolvea {

// One finished interaction: a dictation, an edit of the selection, or an agent request.
struct HistoryEntry {
    enum class Kind { dictation, edit, agent };

    QUuid id = QUuid::createUuid();
    QDateTime date; // when it finished, UTC
    Kind kind = Kind::dictation;
    QString appName;
    QString transcript;
    QString output;

    // A new entry made now.
    static HistoryEntry make(Kind kind, QString appName, QString transcript, QString output);

    // The six keys of the history file; the date in whole seconds with "Z".
    JSONValue toJSON() const;
    // Nothing when a key is missing, of the wrong type, or the kind is unknown.
    static std::optional<HistoryEntry> fromJSON(const JSONValue& json);

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

template <> struct RawNames<HistoryEntry::Kind> {
    static constexpr std::array<std::string_view, 3> names{"dictation", "edit", "agent"};
};

} // namespace nolvea
