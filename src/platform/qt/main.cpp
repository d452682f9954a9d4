#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/linux/linux_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_event_loop.h"
#include "version.h"

namespace {

// Qt aborts when its platform has no display to connect to; say so plainly instead. A
// platform named on the command line or in QT_QPA_PLATFORM that needs no display (offscreen,
// vnc...) is left to Qt.
bool DisplayFound(int argc, char* argv[]) {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    std::string_view platform = set("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "-platform") platform = argv[i + 1];
    if (platform.starts_with("xcb")) return set("DISPLAY");
    if (platform.starts_with("wayland")) return set("WAYLAND_DISPLAY");
    if (!platform.empty()) return true;
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!DisplayFound(argc, argv)) {
        std::fputs("tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Tolvane"));
    // Wayland compositors find the menu entry and its icon by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tolvane.Tolvane"));
    QGuiApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                               .arg(tolvane::version::kMajor)
                                               .arg(tolvane::version::kMinor)
                                               .arg(tolvane::version::kRevision));

    // A power request can wait minutes for a password or a desktop's own confirmation; its
    // D-Bus traffic goes on from the window's own event loop.
    tolvane::qt::QtEventLoop loop;
    tolvane::LinuxSystem system(loop);
    tolvane::qt::MainWindow window(system);
    window.Start();
    return QApplication::exec();
}
