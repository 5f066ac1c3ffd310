#include "app/Entry.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>

namespace nolvea {

int Entry::main(int argc, char** argv) {
    // A child that closes its input early must not end us.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "Nolvea\n";
    return 0;
}

} // namespace nolvea
