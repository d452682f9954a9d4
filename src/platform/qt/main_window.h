#pragma once
#include <QTimer>
#include <QWidget>

#include "platform/qt/control_widgets.h"
#include "platform/qt/deliberate_keys.h"
#include "platform/qt/event_translator.h"
#include "platform/qt/qt_forms.h"
#include "platform/system.h"
#include "ui/frm_main.h"

namespace tolvane::qt {

// frmMain as a Qt window: built from the window description, its events handed to
// FrmMain, its timer driving the uptime.
class MainWindow final : public QWidget {
  public:
    explicit MainWindow(System& system);

    // Load, then centre on the screen, show, and start the timer.
    void Start();

    QtForms& Forms() { return forms_; }
    const ControlWidgets& Controls() const { return controls_; }

  private:
    // The whole window, frame included, as far as the platform knows the frame yet. On
    // Wayland the compositor places windows and this changes nothing.
    void CentreOnScreen();

    ui::KeyGate keys_;
    DeliberateKeys deliberateKeys_{keys_};
    ControlWidgets controls_;
    QtForms forms_;
    FrmMain handlers_;
    EventTranslator translator_;
    QTimer timer_;
};

}  // namespace tolvane::qt
