#include "platform/qt/action_label.h"

#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tolvane::qt {

ActionLabel::ActionLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setFocusPolicy(Qt::TabFocus);
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
