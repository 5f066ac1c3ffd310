#pragma once

#include <QIcon>
#include <QImage>

namespace nolvea {

// The still, single-colour mark of the tray icon.
class BrandMarkImage {
public:
    static const QIcon& menuBar();
    // The picture behind it: 22 × 16 points at scale 2, black on clear.
    static QImage renderMenuBar();

    BrandMarkImage() = delete;
};

} // namespace nolvea
