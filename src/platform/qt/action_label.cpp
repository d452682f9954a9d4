#include "platform/qt/action_label.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

namespace tolvane::qt {
namespace {

// AT-SPI's name for the one action, as toolkits name a button's press.
const QString kPressAction = QStringLiteral("press");

class ActionLabelAccessible final : public QAccessibleWidget {
  public:
    explicit ActionLabelAccessible(ActionLabel* label)
        : QAccessibleWidget(label, QAccessible::Button) {}

    QStringList actionNames() const override { return {kPressAction}; }
    QString localizedActionName(const QString& name) const override {
        return name == kPressAction ? QStringLiteral("Press") : QString();
    }
    QString localizedActionDescription(const QString& name) const override {
        return name == kPressAction ? QStringLiteral("Asks for a confirmation, as Enter does")
                                    : QString();
    }
    void doAction(const QString& name) override {
        if (name != kPressAction) return;
        // After the reply to the caller: the confirmation is modal, and the assistive
        // technology that asked would otherwise wait until it is answered.
        QTimer::singleShot(0, widget(),
                           [label = static_cast<ActionLabel*>(widget())] { label->Press(); });
    }
};

QAccessibleInterface* AccessibleFor(const QString&, QObject* object) {
    if (auto* label = dynamic_cast<ActionLabel*>(object)) return new ActionLabelAccessible(label);
    return nullptr;
}

}  // namespace

ActionLabel::ActionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool factoryInstalled = (QAccessible::installFactory(&AccessibleFor), true);
    (void)factoryInstalled;
    setFocusPolicy(Qt::TabFocus);
    // While the QLabel part was being built, Qt may have made and kept a plain label's
    // interface for it (its change events ask for one); dropped, the factory answers next.
    QAccessibleInterface* early = QAccessible::queryAccessibleInterface(this);
    if (early && !dynamic_cast<ActionLabelAccessible*>(early))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(early));
}

void ActionLabel::Press() const {
    if (pressHandler_) pressHandler_();
}

void ActionLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The style decides how it looks, and whether it shows after a click or only after
    // the keyboard moved the focus.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    QStylePainter painter(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

}  // namespace tolvane::qt
