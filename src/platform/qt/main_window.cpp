#include "platform/qt/main_window.h"

#include <QFont>
#include <QScreen>

#include "platform/qt/accessible_texts.h"
#include "platform/qt/qt_text.h"
#include "ui/window_description.h"

namespace tolvane::qt {
namespace {

// The window's own frame, caption and font, then its controls.
ControlWidgets SetUpWindow(QWidget& window) {
    // A caption and a Close button only. A normal window, not a tool window: desktops
    // leave those out of the task bar and Alt+Tab, the keyboard's way back to it.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
    window.setWindowTitle(ToQString(ui::kWindowCaption));

    // Tahoma where installed; else a free sans of about its width, so the heading's
    // second line still fits; else whatever fontconfig offers.
    QFont font;
    font.setFamilies(
        {ToQString(ui::kFontFamily), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setPointSizeF(ui::kFontPointSize);
    font.setWeight(QFont::Normal);
    window.setFont(font);

    const int dpi = window.logicalDpiX();
    window.setFixedSize(ui::TwipsToPixels(ui::kClientWidthTwips, dpi),
                        ui::TwipsToPixels(ui::kClientHeightTwips, dpi));
    window.setMouseTracking(true);
    ControlWidgets controls = BuildControls(window);
    SetAccessibleTexts(controls);
    return controls;
}

}  // namespace

MainWindow::MainWindow(System& system)
    : controls_(SetUpWindow(*this)),
      forms_(*this, controls_, keys_),
      handlers_(forms_, system),
      translator_(handlers_, *this, controls_) {
    timer_.setInterval(ui::kTimerIntervalMs);
    connect(&timer_, &QTimer::timeout, this, [this] { handlers_.Timer(); });
}

void MainWindow::Start() {
    handlers_.Load();
    CentreOnScreen();
    show();
    // Now that it is shown, the platform may know the frame around it.
    CentreOnScreen();
    timer_.start();
}

void MainWindow::CentreOnScreen() {
    const QScreen* screen = this->screen();
    if (!screen) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

}  // namespace tolvane::qt
