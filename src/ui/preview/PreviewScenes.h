#pragma once

#include "core/AppState.h"
#include "core/HistoryEntry.h"
#include "ui/notch/NotchGeometry.h"

#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVariant>

#include <functional>
#include <optional>

namespace nolvea {

class NotchModel;

// The canned states the previews are drawn from: the file of each picture with its size in
// points, the states of the pill and of the notch island, their level histories and the
// invented people of the island's messages and e-mails. Free of any drawing.
class PreviewScenes {
public:
    // Pixels a point in every file.
    static constexpr int kScale = 2;

    enum class Kind { pill, onboarding, logo, notch, drawer, settings, menu };
    struct Picture {
        QString name; // the file name, ".png" included
        QSize points;
        Kind kind;
        bool operator==(const Picture&) const = default;
    };
    // The 35 pictures in writing order.
    static QList<Picture> pictures();

    struct PillScene {
        QString stem;
        std::function<void(AppState&)> configure;
    };
    // The eight pill states; `now` dates the listening ones.
    static QList<PillScene> pill(const QDateTime& now);

    struct NotchScene {
        QString stem;
        std::function<void(AppState&, NotchModel&)> configure;
    };
    // The thirteen island states. `history`: the entries the hover panel lists; `appIcon`:
    // the icon of the application named (a QImage), or nothing.
    static QList<NotchScene> notch(const QList<HistoryEntry>& history,
                                   const std::function<QVariant(const QString&)>& appIcon);
    // The island's fixed place in its 760 × 520 picture.
    static NotchGeometry notchGeometry();

    // |sin(factor·k)| (or |cos|) × scale for k = 0 … 31: the angle in double precision, the
    // rest in single.
    static QList<float> levels(double factor, float scale, bool cosine = false);
    // The logo strip's shared history: (0.3 + 0.7·k/32) × |sin(0.45·k)|.
    static QList<float> logoHistory();
    // The first agent entry of `entries`; else, when `orFirst`, the first entry; else none.
    static std::optional<QUuid> firstAgentEntry(const QList<HistoryEntry>& entries, bool orFirst);

    // The invented people of the island's pictures.
    struct People {
        QString contactFirst;
        QString contactFull;
        QString contactAddress;
        QString userFirst;
        QString userFull;
        QString userAddress;
        QString mobile;
    };
    static const People& people();

    PreviewScenes() = delete;
};

} // namespace nolvea
