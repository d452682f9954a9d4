// The Qt window over a fake system: its layout from the window description, one native event
// of each kind reaching frmMain's handlers, and their requests reaching widgets, boxes, the
// popup and the pointer. The rules themselves are the handlers' and are tested there.
#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QtTest>
#include <memory>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_text.h"

namespace tolvane::qt {
namespace {

struct SeenBox {
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The real, started window. Its boxes and popup are answered without a modal loop, as a
// click (or Escape) would.
struct LiveWindow {
    std::vector<std::string> journal;  // what the window asked of the system
    fakes::FakeSystem system{&journal};
    MainWindow window{system};
    QMessageBox::StandardButton answer = QMessageBox::No;
    bool chooseAbout = false;
    std::vector<SeenBox> boxes;
    std::vector<QPoint> menus;  // where each popup was put, on the screen

    LiveWindow() {
        // Too long for the window, and not ASCII.
        system.machineName = "\xC3\x85" + std::string(63, 'W');
        system.osName = "Red Hat Enterprise Linux CoreOS 414.92.202402130420-0 (Plow) ";
        window.forms().SetBoxPresenter([this](QMessageBox& box) {
            boxes.push_back(
                {box.icon(), box.standardButtons(), box.standardButton(box.defaultButton())});
            if (answer == QMessageBox::Escape) return QTest::keyClick(&box, Qt::Key_Escape);
            if (QAbstractButton* button = box.button(answer)) button->click();
        });
        window.forms().SetMenuPresenter([this](QMenu& menu, const QPoint& at) -> QAction* {
            menus.push_back(at);
            return chooseAbout ? menu.actions().value(0) : nullptr;
        });
        window.Start();
    }
};

const QStringList none, restart{"privilege", "request restart"},
    powerOff{"privilege", "request power off"};
const auto yes = QMessageBox::Yes, no = QMessageBox::No, escape = QMessageBox::Escape,
           ok = QMessageBox::Ok;
const struct {
    const char* name;
    QString target;
    QString event;
    QMessageBox::StandardButton answer;  // to a box
    QStringList asked;                   // of the system
    bool popup;
    QString box;  // "", "Sure?" or "About"
} kEvents[] = {
    {"hover", "lblRestart", "move", yes, none, false, ""},
    {"click", "lblRestart", "click", yes, none, false, ""},
    {"double-click, Yes", "lblRestart", "double", yes, restart, false, "Sure?"},
    {"double-click, Escape", "lblShutDown", "double", escape, none, false, "Sure?"},
    {"right press on the background", "frmMain", "right", ok, none, true, "About"},
    {"right press on a label", "lblRestart", "right", ok, none, false, ""},
    {"Return, No", "lblRestart", "Return", no, none, false, "Sure?"},
    {"keypad Enter, Yes", "lblShutDown", "Enter", yes, powerOff, false, "Sure?"},
    {"Space, Yes", "lblRestart", "Space", yes, restart, false, "Sure?"},
    {"another key", "lblRestart", "A", yes, none, false, ""},
    {"Shift+F10", "txtUptime", "Shift+F10", ok, none, true, "About"},
    {"menu key, dismissed", "lblShutDown", "menu key", ok, none, true, ""},
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<LiveWindow> live_;

    const ControlWidgets& controls() const { return live_->window.controls(); }
    QWidget* Find(const QString& name) {
        return name == "frmMain" ? &live_->window : live_->window.findChild<QWidget*>(name);
    }
    void TabTo(QWidget* widget) {
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        for (int i = 0; i < 4 && QApplication::focusWidget() != widget; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), widget);
    }
    // A key event as the platform hands it to the window, before any widget sees it.
    void SendKey(QEvent::Type type, int key, ulong time, bool autoRepeat = false,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
        event.setTimestamp(time);
        QApplication::sendEvent(live_->window.windowHandle(), &event);
    }

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
        QCOMPARE(window.logicalDpiX(), 96);
        QCOMPARE(window.windowTitle(), ToQString(ui::kWindowCaption));
        const QSize size(ui::kClientWidthTwips / 15, ui::kClientHeightTwips / 15);
        QCOMPARE(window.minimumSize(), size);
        QCOMPARE(window.maximumSize(), size);
        const QPoint offCentre =
            window.frameGeometry().center() - window.screen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 1);

        for (const auto& description : ui::kControls) {
            const QWidget* widget = controls().Find(description.control);
            QCOMPARE(widget->objectName(), ToQString(description.name));
            QCOMPARE(widget->font().family(), ToQString(ui::kFontFamily));
            const QFontMetrics metrics(widget->font());
            const auto rect =
                description.autoSize
                    ? ui::AutoSizedLabelRect(
                          description,
                          metrics.horizontalAdvance(static_cast<const QLabel*>(widget)->text()),
                          metrics.height(), 96)
                    : ui::ToPixels(description.rect, 96);
            QCOMPARE(widget->geometry(), QRect(rect.left, rect.top, rect.width, rect.height));
        }
        // Load's heading, whole in the tool tip and in Qt's strings and line breaks; in the
        // label each line shortened to fit, as measured in the label's real font.
        const QLabel* tip = controls().lblTip;
        QCOMPARE(tip->toolTip(), "\\\\\u00C5" + QString(63, 'W') + "\nRunning " +
                                     ToQString(live_->system.osName) + ", has been up for:");
        const QStringList lines = tip->text().split('\n');
        QCOMPARE(lines.size(), 2);
        for (const QString& line : lines) {
            QVERIFY2(line.contains(QChar(0x2026)), qPrintable(line));
            QVERIFY2(QFontMetrics(tip->font()).horizontalAdvance(line) < window.width() - 4,
                     qPrintable(line));
        }
        live_->system.milliseconds = 90'061'400;
        QTRY_COMPARE(controls().txtUptime->text(),
                     QStringLiteral("1 day 1 hour 1 minute 1 second"));
    }

    // Tab reaches the action labels, which then show the focus; a click does not take it.
    void theActionLabelsTakeTheFocusFromTheKeyboardOnly() {
        QLabel* label = controls().lblShutDown;
        const QImage unfocused = label->grab().toImage();
        TabTo(label);
        QVERIFY(label->grab().toImage() != unfocused);
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(QApplication::focusWidget(), controls().txtUptime);
    }

    // One native event of each kind on its target, and what the handlers then asked for.
    void eventsReachTheirHandlers_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(std::size(kEvents)); ++i) QTest::newRow(kEvents[i].name) << i;
    }
    void eventsReachTheirHandlers() {
        QFETCH(int, row);
        const auto& [name, target, event, answer, asked, popup, box] = kEvents[row];
        QWidget* widget = Find(target);
        live_->answer = answer;
        live_->chooseAbout = box == "About";
        const QMap<QString, int> keys{{"Return", Qt::Key_Return},
                                      {"Enter", Qt::Key_Enter},
                                      {"Space", Qt::Key_Space},
                                      {"A", Qt::Key_A},
                                      {"Shift+F10", Qt::Key_F10}};
        // From the frame's own surface, where neither label is lit.
        QTest::mouseMove(controls().fraTodo, QPoint(6, controls().fraTodo->height() - 6));
        if (keys.contains(event)) {
            TabTo(widget);
            const auto modifiers = event == "Shift+F10" ? Qt::ShiftModifier : Qt::NoModifier;
            SendKey(QEvent::KeyPress, keys[event], 100, false, modifiers);
        } else if (event == "menu key") {
            // What the platform makes of the context-menu key, sent to the focused widget.
            TabTo(widget);
            const QPoint centre = widget->rect().center();
            QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, centre,
                                      widget->mapToGlobal(centre));
            QApplication::sendEvent(widget, &menuKey);
        } else {
            // The window's bare background is left of the text box.
            const QPoint at = target == "frmMain" ? QPoint(8, 60) : widget->rect().center();
            QCOMPARE(widget->childAt(at), nullptr);
            if (event == "move") QTest::mouseMove(widget, at);
            if (event == "click") QTest::mouseClick(widget, Qt::LeftButton, {}, at);
            if (event == "double") QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
            if (event == "right") QTest::mouseClick(widget, Qt::RightButton, {}, at);
        }

        for (const QLabel* label : {controls().lblRestart, controls().lblShutDown}) {
            const bool lit = event == "move" && label == widget;
            QTRY_COMPARE(
                label->palette().color(label->foregroundRole()),
                QApplication::palette().color(lit ? QPalette::Light : QPalette::ButtonText));
        }
        QStringList seen;
        for (const auto& entry : live_->journal) seen << QString::fromStdString(entry);
        QCOMPARE(seen, asked);
        QCOMPARE(live_->menus.size(), std::size_t{popup});
        if (popup && event != "right")
            QCOMPARE(live_->menus.front(), widget->mapToGlobal(widget->rect().center()));
        QCOMPARE(live_->boxes.size(), std::size_t{!box.isEmpty()});
        if (box.isEmpty()) return;
        const SeenBox& shown = live_->boxes.front();
        const bool sure = box == "Sure?";
        QCOMPARE(shown.icon, sure ? QMessageBox::Question : QMessageBox::Information);
        QCOMPARE(shown.buttons, sure ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
        QCOMPARE(shown.defaultButton, sure ? QMessageBox::Yes : QMessageBox::Ok);
        if (!sure || !keys.contains(event)) return;

        // Held on: repeats as X11 sends them, unflagged pairs and flagged ones, ask nothing.
        const int key = keys[event];
        SendKey(QEvent::KeyRelease, key, 600);
        SendKey(QEvent::KeyPress, key, 600);
        SendKey(QEvent::KeyRelease, key, 630, true);
        SendKey(QEvent::KeyPress, key, 630, true);
        SendKey(QEvent::KeyRelease, key, 3000);
        QCOMPARE(live_->boxes.size(), std::size_t{1});
        // Pressed afresh, it asks again.
        SendKey(QEvent::KeyPress, key, 3400);
        QCOMPARE(live_->boxes.size(), std::size_t{2});
    }

    // Over the whole window while a request waits, the text box included; then as before.
    void whileARequestWaitsThePointerIsBusy() {
        live_->system.answerAtOnce = false;
        live_->answer = QMessageBox::Yes;
        const Qt::CursorShape textBox = controls().txtUptime->cursor().shape();
        QTest::mouseDClick(controls().lblRestart, Qt::LeftButton, {},
                           controls().lblRestart->rect().center());
        QCOMPARE(live_->window.cursor().shape(), Qt::BusyCursor);
        QCOMPARE(controls().txtUptime->cursor().shape(), Qt::BusyCursor);
        QVERIFY(live_->system.Answer());
        QCOMPARE(controls().lblRestart->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(controls().txtUptime->cursor().shape(), textBox);
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::WindowTest)
#include "window_test.moc"
