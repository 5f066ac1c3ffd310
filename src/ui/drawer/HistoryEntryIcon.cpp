#include "ui/drawer/HistoryEntryIcon.h"

#include "ui/components/Brand.h"

#include <cmath>

namespace nolvea {

QString HistoryEntryIcon::symbol(HistoryEntry::Kind kind) {
    switch (kind) {
    case HistoryEntry::Kind::dictation:
        return QStringLiteral("waveform");
    case HistoryEntry::Kind::edit:
        return QStringLiteral("pencil.and.scribble");
    case HistoryEntry::Kind::agent:
        return QStringLiteral("sparkles");
    }
    return {};
}

QColor HistoryEntryIcon::tint(HistoryEntry::Kind kind) {
    return kind == HistoryEntry::Kind::agent ? Brand::roxoClaro()
                                             : Brand::withOpacity(Qt::white, 0.65);
}

HistoryEntryIcon::HistoryEntryIcon(HistoryEntry::Kind kind, int size, QWidget* parent)
    : SymbolBadge({.symbol = symbol(kind),
                   .side = size,
                   .symbolSide = int(std::lround(size * 0.46)),
                   .color = tint(kind),
                   .tint = Brand::withOpacity(tint(kind), 0.15),
                   .outlined = false},
                  parent) {
    setFixedSize(size, size);
}

} // namespace nolvea
