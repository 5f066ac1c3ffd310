// A small application the desktop tests drive as "the application in front": one window with
// a text field, steered through its standard input, one command a line, one answer a line.
//   text                      -> "text <base64 of the field's text>"
//   set <base64>              -> sets the field's text
//   select <start> <length>   -> selects in the field
//   caret <position>          -> moves the caret
//   focus                     -> activates the window and focuses the field
//   clip (<type> <base64>)*   -> puts these formats on the clipboard
//   keys                      -> "keys <hex keysym>,…": the keys pressed in the window since
//                                the last asking
//   quit
// Options: --app-class NAME (window class), --window-title TEXT, --background COLOR,
// --rect X,Y,W,H (not the toolkit's own -geometry and -title, which it takes for itself),
// --window-icon COLOR (a window icon of 32 and 64 pixels). Prints "ready <window id> <pid>" once
// the window is on screen.
#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    QCommandLineOption classOption("app-class", "window class", "name", "NolveaFrontApp");
    QCommandLineOption titleOption("window-title", "window title", "text", "Janela de teste");
    QCommandLineOption colorOption("background", "background", "name", "#20a040");
    QCommandLineOption geometryOption("rect", "x,y,w,h", "rect", "100,100,400,200");
    QCommandLineOption iconOption("window-icon", "window icon colour", "color");
    parser.addOptions({classOption, titleOption, colorOption, geometryOption, iconOption});
    parser.process(app);
    // The class of the windows comes from the application name.
    QCoreApplication::setApplicationName(parser.value(classOption));

    QWidget window;
    window.setWindowTitle(parser.value(titleOption));
    window.setStyleSheet(
        QStringLiteral("QWidget { background: %1; }").arg(parser.value(colorOption)));
    const QStringList g = parser.value(geometryOption).split(',');
    window.setGeometry(g.value(0).toInt(), g.value(1).toInt(), g.value(2).toInt(),
                       g.value(3).toInt());
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    field->setMaxLength(1 << 20);
    field->setAccessibleName(QStringLiteral("campo"));
    field->setStyleSheet(QStringLiteral("background: white;"));
    layout->addWidget(field);
    layout->addStretch();
    window.show();
    if (parser.isSet(iconOption)) {
        QIcon icon;
        for (int side : {32, 64}) {
            QPixmap pixmap(side, side);
            pixmap.fill(QColor(parser.value(iconOption)));
            icon.addPixmap(pixmap);
        }
        window.setWindowIcon(icon);
    }

    // Every key press the window is given, once (the toolkit hands it to several objects).
    QStringList keys;
    struct KeyLog : QObject {
        QStringList* keys;
        explicit KeyLog(QStringList* k)
            : keys(k) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::KeyPress && watched->isWindowType())
                keys->append(
                    QString::number(static_cast<QKeyEvent*>(event)->nativeVirtualKey(), 16));
            return false;
        }
    } keyLog(&keys);
    app.installEventFilter(&keyLog);

    QTextStream out(stdout);
    auto reply = [&out](const QString& line) {
        out << line << '\n';
        out.flush();
    };
    auto* readyCheck = new QTimer(&app);
    QObject::connect(readyCheck, &QTimer::timeout, [&] {
        if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
        readyCheck->stop();
        reply(QStringLiteral("ready %1 %2")
                  .arg(window.winId())
                  .arg(QCoreApplication::applicationPid()));
    });
    readyCheck->start(10);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[65536];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending.append(buffer, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QList<QByteArray> words = pending.left(end).split(' ');
            pending.remove(0, end + 1);
            const QByteArray command = words.value(0);
            if (command == "text") {
                reply(QStringLiteral("text ") +
                      QString::fromLatin1(field->text().toUtf8().toBase64()));
            } else if (command == "set") {
                field->setText(QString::fromUtf8(QByteArray::fromBase64(words.value(1))));
                reply(QStringLiteral("ok"));
            } else if (command == "select") {
                field->setSelection(words.value(1).toInt(), words.value(2).toInt());
                reply(QStringLiteral("ok"));
            } else if (command == "caret") {
                field->deselect();
                field->setCursorPosition(words.value(1).toInt());
                reply(QStringLiteral("ok"));
            } else if (command == "focus") {
                window.raise();
                window.activateWindow();
                field->setFocus();
                reply(QStringLiteral("ok"));
            } else if (command == "clip") {
                auto* mime = new QMimeData;
                for (int i = 1; i + 1 < words.size(); i += 2)
                    mime->setData(QString::fromUtf8(words[i]),
                                  QByteArray::fromBase64(words[i + 1]));
                QGuiApplication::clipboard()->setMimeData(mime);
                reply(QStringLiteral("ok"));
            } else if (command == "keys") {
                reply(QStringLiteral("keys ") + keys.join(','));
                keys.clear();
            } else if (command == "quit") {
                QCoreApplication::quit();
            } else {
                reply(QStringLiteral("error"));
            }
        }
    });
    return app.exec();
}
