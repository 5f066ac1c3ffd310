#include "app/QuotedList.h"

namespace nolvea {

QString QuotedList::format(const QStringList& items) {
    QStringList quoted;
    for (const QString& item : items) {
        QString text;
        for (const QChar c : item) {
            switch (c.unicode()) {
            case u'"':
                text += u"\\\"";
                break;
            case u'\\':
                text += u"\\\\";
                break;
            case u'\n':
                text += u"\\n";
                break;
            case u'\r':
                text += u"\\r";
                break;
            case u'\t':
                text += u"\\t";
                break;
            default:
                text += c;
            }
        }
        quoted << u'"' + text + u'"';
    }
    return u'[' + quoted.join(u", ") + u']';
}

} // namespace nolvea
