#pragma once

#include <QString>
#include <QStringList>

namespace nolvea {

// The one developer mode a command line asks for, with its arguments.
struct DevCommand {
    enum class Kind {
        dictation,
        agent,
        mcp,
        tts,
        idle,
        anthropicFormat,
        renderIcon,
        renderDMGBackground,
        update,
        renderPreviews,
    };

    Kind kind;
    QString value{};          // the flag's argument: file, request, text or folder
    bool download = false;    // update: "--baixar" was given
    QString selection{};      // agent: the text after "--selection", "" when absent
    QString command{};        // mcp: the server program
    QStringList serverArgs{}; // mcp: what follows the program, up to the first "--then"

    // Drawing modes need a GUI application (offscreen); the rest run on a core one.
    bool needsGui() const {
        return kind == Kind::renderIcon || kind == Kind::renderDMGBackground ||
               kind == Kind::renderPreviews;
    }

    bool operator==(const DevCommand&) const = default;
};

} // namespace nolvea
