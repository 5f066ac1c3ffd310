#pragma once

#include <QString>
#include <QStringList>

namespace nolvea {

// A list of texts the way developer output shows one: square brackets, each item quoted with
// its quotes and backslashes escaped, items separated by ", ".
class QuotedList {
public:
    static QString format(const QStringList& items);
};

} // namespace nolvea
