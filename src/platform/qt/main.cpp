#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/linux_system.h"
#include "platform/qt/command_line.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_event_loop.h"
#include "version.h"

namespace {

constexpr const char* kNoDisplay = "tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n";

// Qt's messages while it connects to the display, held back. When it cannot connect (no
// DISPLAY, or one named that is not there), Qt ends with a fatal message that suggests
// reinstalling the application, and aborts: the one line above and exit status 1 say it
// plainly instead. Once connected, the held messages are passed on.
struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};
std::vector<HeldMessage> connecting_messages;

void HoldWhileConnecting(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fputs(kNoDisplay, stderr);
        std::_Exit(1);
    }
    connecting_messages.push_back({type, context.category ? context.category : "", text});
}

}  // namespace

int main(int argc, char* argv[]) {
    using tolvane::qt::CommandLine;
    switch (tolvane::qt::ReadCommandLine({argv, static_cast<std::size_t>(argc)})) {
        case CommandLine::Version:
            std::printf("tolvane %s\n", tolvane::version::kText);
            return 0;
        case CommandLine::Help:
            std::fputs(tolvane::qt::kUsage.data(), stdout);
            return 0;
        case CommandLine::Unknown:
            std::fputs(tolvane::qt::kUsage.data(), stderr);
            return 2;
        case CommandLine::Window:
            break;
    }

    const QtMessageHandler qt_handler = qInstallMessageHandler(HoldWhileConnecting);
    QApplication app(argc, argv);
    qInstallMessageHandler(qt_handler);
    for (const auto& [type, category, text] : connecting_messages)
        qt_handler(type, QMessageLogContext(nullptr, 0, nullptr, category.c_str()), text);
    connecting_messages.clear();

    QGuiApplication::setApplicationName(QStringLiteral("Tolvane"));
    // Wayland compositors find the menu entry and its icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tolvane.Tolvane"));
    QGuiApplication::setApplicationVersion(QString::fromLatin1(tolvane::version::kText));

    // A power request can wait minutes for a password or a desktop's own confirmation; its
    // D-Bus traffic goes on from the window's own event loop.
    tolvane::qt::QtEventLoop loop;
    tolvane::LinuxSystem system(loop);
    tolvane::qt::MainWindow window(system);
    window.Start();
    return QApplication::exec();
}
