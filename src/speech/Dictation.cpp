#include "speech/Dictation.h"

#include "ai/TextJoiner.h"
#include "support/Error.h"
#include "system/TextInserterError.h"

namespace nolvea {

Dictation::Dictation(Services services)
    : m_services(std::move(services)) {}

int Dictation::wordCount(const QString& text) {
    return int(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).size());
}

QString Dictation::status(int words, bool cleanupFailed) {
    QString status = QString::number(words) + QStringLiteral(" palavra");
    if (words != 1) status += QLatin1Char('s');
    if (cleanupFailed) status += QStringLiteral(" · sem IA");
    return status;
}

QCoro::Task<VoiceOutcome> Dictation::run(QString text, ScreenContext context, bool cleanupEnabled,
                                         QStringList vocabulary, CancelToken token) const {
    // A copy: the owner may go while this waits, and the token says so.
    const Services services = m_services;
    QString final = text;
    bool cleaned = false;
    const bool cleanupDue = cleanupEnabled && wordCount(text) >= cleanupMinimumWords;
    if (cleanupDue) {
        if (services.refining) services.refining();
        try {
            QString result = co_await services.cleanUp(text, context, vocabulary);
            final = std::move(result);
            cleaned = true;
        } catch (const Cancelled&) {
            throw;
        } catch (...) {
            // The transcript goes in as heard; the result line says so.
        }
    }
    token.check();

    const QString joined = TextJoiner::prepare(final, context.textBeforeCursor);
    std::exception_ptr pasteFailure;
    try {
        co_await services.insertText(joined);
    } catch (const Cancelled&) {
        throw;
    } catch (...) {
        pasteFailure = std::current_exception();
    }
    token.check();
    // Recorded even when the paste failed: the text is not lost.
    services.record(
        HistoryEntry::make(HistoryEntry::Kind::dictation, context.appName, text, final));
    if (pasteFailure) co_return VoiceOutcome::error(describe(pasteFailure));
    co_return VoiceOutcome::success(status(wordCount(final), !cleaned && cleanupDue));
}

} // namespace nolvea
