#pragma once
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "platform/qt/control_widgets.h"
#include "ui/frm_main.h"

namespace tolvane::qt {

// Turns the mouse, key and keyboard context-menu events of the window and its controls
// into frmMain's handler calls, and nothing else: every rule about what they do lives in FrmMain.
class EventTranslator final : public QObject {
  public:
    // Watches window and every control in controls; all must outlive the translator.
    EventTranslator(FrmMain& handlers, QWidget& window, const ControlWidgets& controls);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::optional<Control> ControlOf(const QObject* watched) const;
    // Each says whether the event is spent.
    bool Mouse(const QWidget& widget, Control control, const QMouseEvent& event);
    bool Keyboard(Control control, const QKeyEvent& event);
    bool ContextMenu(Control control, const QContextMenuEvent& event);

    FrmMain& handlers_;
    std::vector<std::pair<QWidget*, Control>> watched_;
};

}  // namespace tolvane::qt
