#include <QApplication>

#include "platform/linux/linux_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_event_loop.h"
#include "version.h"

int main(int argc, char* argv[]) {
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
