// The Qt window over a fake system: its layout from the window description, one native event
// of each kind reaching frmMain's handlers, and their requests reaching widgets, boxes, the
// popup and the pointer. The rules themselves are the handlers' and are tested there.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_text.h"
#include "platform/window_events.h"

namespace tolvane::qt {
namespace {

using window_test::Event;

QStringList Listed(const std::vector<std::string>& entries) {
    QStringList list;
    for (const auto& entry : entries) list << QString::fromStdString(entry);
    return list;
}

// The real, started window. Its boxes and popup are answered without a modal loop, as a
// click (or Escape) would.
struct LiveWindow {
    std::vector<std::string> journal;
    fakes::FakeSystem system{journal};
    MainWindow window{system};
    bool yes = false;  // the answer to boxes and the popup
    QPoint popupAt;    // where a popup must open, on the screen

    LiveWindow() {
        system.machineName = "\xC3\x85SA-\xE6\x97\xA5";
        window.Forms().SetBoxPresenter([this](QMessageBox& box) {
            const bool sure = box.windowTitle() == "Sure?",
                       refused = box.windowTitle() == "Tolvane";
            journal.push_back("box " + FromQString(box.windowTitle()));
            QCOMPARE(box.icon(), sure      ? QMessageBox::Question
                                 : refused ? QMessageBox::Warning
                                           : QMessageBox::Information);
            QCOMPARE(box.standardButtons(),
                     sure ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
            QCOMPARE(box.standardButton(box.defaultButton()),
                     sure ? QMessageBox::Yes : QMessageBox::Ok);
            if (!yes) return QTest::keyClick(&box, Qt::Key_Escape);
            box.button(sure ? QMessageBox::Yes : QMessageBox::Ok)->click();
        });
        window.Forms().SetMenuPresenter([this](QMenu& menu, const QPoint& at) -> QAction* {
            journal.push_back(at == popupAt ? "popup" : "popup elsewhere");
            return yes ? menu.actions().value(0) : nullptr;
        });
        window.Start();
    }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<LiveWindow> live_;
    ulong time_ = 0;  // of the last key event

    const ControlWidgets& Controls() const { return live_->window.Controls(); }
    QWidget* Find(Control c) { return c == Control::frmMain ? &live_->window : Controls().Find(c); }
    // A key pressed and released as the platform hands them to the window, before any widget.
    void Stroke(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent event(type, key, modifiers);
            event.setTimestamp(time_ += type == QEvent::KeyPress ? 1000 : 100);
            QApplication::sendEvent(live_->window.windowHandle(), &event);
        }
    }

    // A row's event natively; the window's bare background is left of the text box.
    void Perform(Event event, Control on) {
        QWidget* widget = Find(on);
        const QPoint at = on == Control::frmMain   ? QPoint(8, 60)
                          : on == Control::fraTodo ? QPoint(6, widget->height() - 6)
                                                   : widget->rect().center();
        QCOMPARE(widget->childAt(at), nullptr);
        live_->popupAt = QCursor::pos();
        if (event >= Event::Enter) {
            if (on == Control::frmMain)
                QApplication::focusWidget()->clearFocus();
            else
                widget->setFocus(Qt::OtherFocusReason);
            // The keyboard's popup opens by the middle of the focus.
            live_->popupAt = widget->mapToGlobal(widget->rect().center());
        }
        QContextMenuEvent menu(
            event == Event::MenuKey ? QContextMenuEvent::Keyboard : QContextMenuEvent::Mouse, at,
            widget->mapToGlobal(at));
        switch (event) {
            case Event::Move:
                return QTest::mouseMove(widget, at);
            case Event::Click:
                QTest::mouseClick(widget, Qt::LeftButton, {}, at);
                break;
            case Event::MiddlePress:
                return QTest::mouseClick(widget, Qt::MiddleButton, {}, at);
            case Event::RightPress:
                return QTest::mouseClick(widget, Qt::RightButton, {}, at);
            case Event::RightMenu:
            case Event::MenuKey:
                QApplication::sendEvent(widget, &menu);
                return;
            case Event::DoubleClick:
            case Event::RightDoubleClick:
                return QTest::mouseDClick(
                    widget, event == Event::DoubleClick ? Qt::LeftButton : Qt::RightButton, {}, at);
            case Event::Enter:
                return Stroke(Qt::Key_Return);
            case Event::KeypadEnter:
                return Stroke(Qt::Key_Enter, Qt::KeypadModifier);
            case Event::OtherKey:
                return Stroke(Qt::Key_A);
            case Event::ShiftF10:
                return Stroke(Qt::Key_F10, Qt::ShiftModifier);
            case Event::Tab:
                Stroke(Qt::Key_Tab);
                break;
            case Event::Default: {
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
                const std::size_t asked = live_->journal.size();
                accessible->actionInterface()->doAction(QStringLiteral("press"));
                // The box opens once the call has returned.
                QCOMPARE(live_->journal.size(), asked);
                QTRY_VERIFY(live_->journal.size() > asked);
                return;
            }
        }
        for (const auto& control : ui::kControls) {
            QWidget* shown = Find(control.control);
            const std::string name(control.name);
            if (shown->hasFocus()) live_->journal.push_back("focus " + name);
            if (ui::IsActionLabel(control.control) && shown->grab().toImage() != unfocused_[name])
                live_->journal.push_back("framed " + name);
        }
    }
    std::map<std::string, QImage> unfocused_;

  private slots:
    void init() {
        live_ = std::make_unique<LiveWindow>();
        QVERIFY(QTest::qWaitForWindowActive(&live_->window));
        live_->journal.clear();  // what loading asked is no event's doing
    }
    void cleanup() { live_.reset(); }

    // The offscreen screen reports 96 dpi whatever the machine: 15 twips a pixel.
    void aCentredFixedWindowWithEachControlWhereTheDescriptionPutsIt() {
        QWidget& window = live_->window;
        const QSize size(ui::kClientWidthTwips / 15, ui::kClientHeightTwips / 15);
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        const QPoint offCentre =
            window.frameGeometry().center() - window.screen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 1);
        for (const auto& description : ui::kControls) {
            const QWidget* widget = Controls().Find(description.control);
            QCOMPARE(widget->objectName(), ToQString(description.name));
            QCOMPARE(widget->font().family(), ToQString(ui::kFontFamily));
            const QFontMetrics metrics(widget->font());
            const int width = metrics.horizontalAdvance(ToQString(description.text));
            const auto rect = description.autoSize
                                  ? ui::AutoSizedLabelRect(description, width, metrics.height(), 96)
                                  : ui::ToPixels(description.rect, 96);
            QCOMPARE(widget->geometry(), QRect(rect.left, rect.top, rect.width, rect.height));
        }
        // Texts cross into Qt's strings and line breaks, and the heading is measured in its
        // label's font.
        QCOMPARE(Controls().lblTip->toolTip(),
                 "\\\\\u00C5SA-\u65E5\nRunning Windows 2000 , has been up for:");
        QtForms& forms = live_->window.Forms();
        QVERIFY(forms.FitsOnOneLine(Control::lblTip,
                                    "Running Debian GNU/Linux 12 (bookworm) , has been up for:"));
        QVERIFY(!forms.FitsOnOneLine(Control::lblTip, "\\\\" + std::string(63, 'm')));
    }

    void nativeEventsReachTheirHandlers_data() {
        QTest::addColumn<std::size_t>("row");
        const auto& rows = window_test::Rows();
        for (std::size_t i = 0; i < rows.size(); ++i) QTest::newRow(rows[i].name) << i;
    }
    void nativeEventsReachTheirHandlers() {
        QFETCH(std::size_t, row);
        const window_test::Row& r = window_test::Rows()[row];
        for (QLabel* label : {Controls().lblShutDown, Controls().lblRestart})
            unfocused_[FromQString(label->objectName())] = label->grab().toImage();
        Controls().txtUptime->setFocus(Qt::OtherFocusReason);
        QCursor::setPos(0, 0);  // off the window, and apart from where the events are
        live_->yes = r.yes;
        live_->system.result.started = !r.refused;
        for (const auto& step : r.steps) Perform(step.event, step.on);
        for (const QLabel* label : {Controls().lblShutDown, Controls().lblRestart})
            if (label->palette().color(label->foregroundRole()) ==
                QApplication::palette().color(QPalette::Light))
                live_->journal.push_back("lit " + FromQString(label->objectName()));
        QCOMPARE(Listed(live_->journal), Listed(r.journal));
    }

    // When the uptime does not fit, its beginning shows (where the caret is).
    void theUptimeBoxShowsItsBeginning() {
        live_->system.milliseconds = 62'985'599'000;
        QTRY_VERIFY(Controls().txtUptime->text().startsWith(QStringLiteral("104 weeks")));
        QCOMPARE(Controls().txtUptime->cursorPosition(), 0);
    }

    // Over the whole window while a request waits, the text box included; then as before.
    void whileARequestWaitsThePointerIsBusy() {
        live_->system.answerAtOnce = false;
        live_->yes = true;
        const Qt::CursorShape textBox = Controls().txtUptime->cursor().shape();
        Perform(Event::DoubleClick, Control::lblRestart);
        QCOMPARE(live_->window.cursor().shape(), Qt::BusyCursor);
        QCOMPARE(Controls().txtUptime->cursor().shape(), Qt::BusyCursor);
        QVERIFY(live_->system.Answer());
        QCOMPARE(Controls().lblRestart->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(Controls().txtUptime->cursor().shape(), textBox);
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::WindowTest)
#include "window_test.moc"
