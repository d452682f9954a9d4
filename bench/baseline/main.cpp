// The least a Qt Widgets program can be and still do Tolvane's visible work: a window of
// the same size whose line edit is rewritten ten times a second. Tolvane is measured
// against it.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Tolvane baseline"));
    window.setFixedSize(336, 144);
    QLineEdit text(&window);
    text.setGeometry(24, 48, 281, 25);

    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    // The text changes once a second, as an uptime does, but is set on every tick.
    QObject::connect(&timer, &QTimer::timeout, [&] {
        text.setText(QStringLiteral("%1 seconds").arg(clock.elapsed() / 1000));
    });
    timer.start(100);
    window.show();
    return QApplication::exec();
}
