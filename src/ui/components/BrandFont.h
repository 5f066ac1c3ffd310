#pragma once

#include <QFont>
#include <QStringList>

namespace nolvea {

// The brand typeface, Inter Tight, in the three faces the screens use. The font files are
// registered once at start; a build without them falls back to the system font.
class BrandFont {
public:
    enum class Face { semiBold, regular, extraBold };

    static constexpr const char* kFamily = "Inter Tight";

    // Whether the semibold face can be used.
    static bool isAvailable();
    // Registers the font files of the first folder that yields the semibold face; at once
    // when already available. Silent on every failure.
    static void registerFonts();
    // The same over explicit folders, in order.
    static void registerFrom(const QStringList& folders);
    // Removes every face registered here: the system font from now on, until the next
    // registration.
    static void forget();
    // Where the faces are looked for: share/nolvea/fonts of the application's own folder, then
    // of the install prefix. Never the working directory: a folder someone else controls
    // must not give the program its fonts.
    static QStringList folders();

    // The brand face at `pixels` when available, else the system font of the same size and
    // `fallbackWeight`.
    static QFont font(Face face, double pixels, QFont::Weight fallbackWeight);
    // A font of `pixels` logical pixels (the screens' points).
    static void setPixels(QFont& font, double pixels);

    BrandFont() = delete;
};

} // namespace nolvea
