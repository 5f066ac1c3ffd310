#pragma once

#include "ai/ChatMessage.h"
#include "app/DevCommand.h"

#include <QStringList>
#include <qcoro/qcorotask.h>

#include <vector>

namespace nolvea {

class TTSServer;
class Updater;

// The developer modes run from the command line: each prints its findings as lines on
// standard output and tells whether it passed.
class SelfTest {
public:
    // Runs the mode `command` read off the arguments `args` (which also hold its follow-up
    // requests): whether it passed.
    static QCoro::Task<bool> run(DevCommand command, QStringList args);

    // The routines.
    static QCoro::Task<bool> dictation(QString file);
    static QCoro::Task<bool> agent(QString request, QString selection);
    // One more agent run per request, each a follow-up of the runs before it.
    static QCoro::Task<bool> followUps(QStringList requests);
    static QCoro::Task<bool> mcp(QString request, QString command, QStringList serverArgs,
                                 QStringList followUpRequests);
    static QCoro::Task<bool> tts(QString text);
    static QCoro::Task<bool> tts(TTSServer& server, QString text);
    static bool anthropicFormat();
    static QCoro::Task<bool> update(Updater& updater, bool download);
    static QCoro::Task<bool> idle();
    static bool renderIcon(const QString& folder);
    static bool renderDMGBackground(const QString& folder);
    static QCoro::Task<bool> renderPreviews(QString folder);

    // The agent conversation of this process, carried from one agent run to the next.
    static std::vector<ChatMessage>& history();
};

} // namespace nolvea
