#include "system/TextInserter.h"

#include <gtest/gtest.h>

using namespace nolvea;

TEST(TextInserter, TerminalsPasteWithShift) {
    const QList<QPair<QString, PasteChord>> cases{
        {"Gnome-terminal", PasteChord::controlShiftV},
        {"org.gnome.Terminal", PasteChord::controlShiftV},
        {"XTerm", PasteChord::controlShiftV},
        {"URxvt", PasteChord::controlShiftV},
        {"kitty", PasteChord::controlShiftV},
        {"Alacritty", PasteChord::controlShiftV},
        {"org.wezfurlong.wezterm", PasteChord::controlShiftV},
        {"konsole", PasteChord::controlShiftV},
        {"foot", PasteChord::controlShiftV},
        {"st-256color", PasteChord::controlShiftV},
        // Names that merely resemble one do not count.
        {"Steam", PasteChord::controlV},
        {"footnotes", PasteChord::controlV},
        {"firefox", PasteChord::controlV},
        {"Code", PasteChord::controlV},
        {"", PasteChord::controlV},
    };
    for (const auto& [windowClass, chord] : cases)
        EXPECT_EQ(TextInserter::chordFor(windowClass), chord) << windowClass.toStdString();
}
