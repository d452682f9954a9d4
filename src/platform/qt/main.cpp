#include <QApplication>

#include "platform/linux/linux_system.h"
#include "platform/qt/main_window.h"
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

    // A power request can wait minutes for a password; the window keeps repainting.
    tolvane::LinuxSystem system(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    tolvane::qt::MainWindow window(system);
    window.Start();
    return QApplication::exec();
}
