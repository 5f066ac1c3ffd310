#pragma once

#include "core/HistoryEntry.h"
#include "speech/VoiceOutcome.h"
#include "support/CancelToken.h"
#include "system/ScreenContext.h"

#include <QStringList>
#include <qcoro/qcorotask.h>

#include <functional>

namespace nolvea {

// One dictation: the transcript is cleaned up by the model (when due), joined to the text
// before the caret, pasted into the front application and recorded in the history.
class Dictation {
public:
    struct Services {
        // The cleaned-up text; throws when the model could not do it.
        std::function<QCoro::Task<QString>(QString text, ScreenContext context,
                                           QStringList vocabulary)>
            cleanUp;
        // Pastes the text; throws `TextInserterError` (or another error) when it did not go in.
        std::function<QCoro::Task<>(QString)> insertText;
        std::function<void(const HistoryEntry&)> record;
        // Told the moment the clean-up begins.
        std::function<void()> refining;
    };

    explicit Dictation(Services services);

    // The outcome to show. Throws `Cancelled` once `token` fired at one of its waits.
    QCoro::Task<VoiceOutcome> run(QString text, ScreenContext context, bool cleanupEnabled,
                                  QStringList vocabulary, CancelToken token) const;

    // The number of words of a text split at blanks.
    static int wordCount(const QString& text);
    // The result line: "12 palavras", "1 palavra", "12 palavras · sem IA".
    static QString status(int words, bool cleanupFailed);
    // Fewer words than this go in as heard.
    static constexpr int cleanupMinimumWords = 3;

private:
    Services m_services;
};

} // namespace nolvea
