#pragma once

#include <QString>
#include <QStringList>

namespace nolvea::test {

// What a screen reader finds of one process's windows: each accessible element as
// "role|name", in tree order. Read over the AT-SPI bus from a thread of its own while the
// caller's event loop answers for the application.
QStringList atspiElements(qint64 pid);

} // namespace nolvea::test
