#include "app/Entry.h"

#include "ui/components/AppIconView.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>

#include <csignal>
#include <cstring>

namespace nolvea {

namespace {

// "--render-icon FOLDER": writes the iconset and ends.
int renderIcon(int argc, char** argv, const char* folder) {
    // Drawing needs no screen: use the offscreen platform when none was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    AppIconView::renderIconset(QString::fromLocal8Bit(folder));
    return 0;
}

} // namespace

int Entry::main(int argc, char** argv) {
    // A child that closes its input early must not end us.
    std::signal(SIGPIPE, SIG_IGN);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--render-icon") == 0) {
            if (i + 1 >= argc) {
                QTextStream(stderr) << "--render-icon precisa de uma pasta\n";
                return 2;
            }
            return renderIcon(argc, argv, argv[i + 1]);
        }
    }
    QCoreApplication app(argc, argv);
    QTextStream(stdout) << "Nolvea\n";
    return 0;
}

} // namespace nolvea
