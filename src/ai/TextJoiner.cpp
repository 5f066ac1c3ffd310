#include "ai/TextJoiner.h"

#include "support/Graphemes.h"

namespace nolvea {

QString TextJoiner::prepare(const QString& text, const QString& previous) {
    if (previous.isEmpty() || text.isEmpty()) return text;
    const QString last = Graphemes::last(previous, 1);
    if (last.front().isSpace() || last == u"(" || last == u"\"" || last == u"/") return text;
    static const QStringList closers{".", ",", ";", ":", "!", "?", ")"};
    if (closers.contains(Graphemes::first(text, 1))) return text;
    return u' ' + text;
}

} // namespace nolvea
