#pragma once
#include <QLabel>
#include <functional>

namespace tolvane::qt {

// A label that acts: Tab stops at it, a click does not focus it (so nothing changes for
// the mouse), and it shows the style's focus rectangle while it has the focus. Assistive
// technology sees a push button whose one action, "press", calls the press handler.
class ActionLabel final : public QLabel {
  public:
    ActionLabel(const QString& text, QWidget* parent);

    void SetPressHandler(std::function<void()> handler) { pressHandler_ = std::move(handler); }
    // From assistive technology's press action.
    void Press() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<void()> pressHandler_;
};

}  // namespace tolvane::qt
