#pragma once
#include <QObject>

#include "ui/key_gate.h"

namespace tolvane::qt {

// Every key event of the program passes the gate as it reaches a top-level window, before
// any widget or message box sees it; a held key's repeats stop here.
class DeliberateKeys final : public QObject {
  public:
    explicit DeliberateKeys(ui::KeyGate& gate);
    ~DeliberateKeys() override;
    DeliberateKeys(const DeliberateKeys&) = delete;
    DeliberateKeys& operator=(const DeliberateKeys&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ui::KeyGate& gate_;
};

}  // namespace tolvane::qt
