// The Qt window over a fake system: its layout from the window description, and its
// translation of real mouse and key events into frmMain's handlers and of their requests
// into widgets, boxes and the popup. The rules themselves are the handlers' and are tested
// there.
#include <QAbstractButton>
#include <QAccessible>
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
#include "ui/frm_main.h"

namespace tolvane::qt {
namespace {

struct SeenBox {
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

// The real, started window. The user at its boxes and popup is played without a modal
// loop: each is noted and answered as a click (or Escape) would.
struct LiveWindow {
    std::vector<std::string> journal;  // what the window asked of the system
    fakes::FakeSystem system{&journal};
    MainWindow window{system};
    QMessageBox::StandardButton answer = QMessageBox::No;
    bool chooseAbout = false;
    std::vector<SeenBox> boxes;
    std::vector<QPoint> menus;  // where each popup was put, on the screen

    LiveWindow() {
        window.forms().SetBoxPresenter([this](QMessageBox& box) {
            boxes.push_back({box.text(), box.icon(), box.standardButtons(),
                             box.standardButton(box.defaultButton())});
            if (answer == QMessageBox::Escape) return QTest::keyClick(&box, Qt::Key_Escape);
            if (QAbstractButton* button = box.button(answer)) button->click();
        });
        window.forms().SetMenuPresenter([this](QMenu& menu, const QPoint& at) -> QAction* {
            menus.push_back(at);
            return chooseAbout ? menu.actions().value(0) : nullptr;
        });
        window.Start();
    }
    const ControlWidgets& controls() const { return window.controls(); }
    QWidget* Find(const QString& name) {
        return name == "frmMain" ? &window : window.findChild<QWidget*>(name);
    }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<LiveWindow> live_;

    const ControlWidgets& controls() const { return live_->controls(); }
    QStringList Asked() const {
        QStringList asked;
        for (const auto& entry : live_->journal) asked << QString::fromStdString(entry);
        return asked;
    }
    // Tabs from the text box until `widget` has the focus.
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
    void aFixedToolWindowCentredWithEachControlWhereTheDescriptionPutsIt() {
        QWidget& window = live_->window;
        QCOMPARE(window.logicalDpiX(), 96);
        QCOMPARE(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(window.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(window.windowTitle(), QString::fromUtf8(ui::kWindowCaption));
        QCOMPARE(window.minimumSize(), QSize(336, 144));
        QCOMPARE(window.maximumSize(), QSize(336, 144));
        const QPoint offCentre =
            window.frameGeometry().center() - window.screen()->availableGeometry().center();
        QVERIFY(offCentre.manhattanLength() <= 1);

        QStringList tabOrder;
        for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain())
            if (!w->objectName().isEmpty()) tabOrder << w->objectName();
        QCOMPARE(tabOrder,
                 QStringList({"lblTip", "txtUptime", "fraTodo", "lblShutDown", "lblRestart"}));

        for (const auto& description : ui::kControls) {
            const QWidget* widget = controls().Find(description.control);
            QVERIFY(widget);
            QCOMPARE(widget->font().family(), QString::fromUtf8(ui::kFontFamily));
            const auto& twips = description.rect;
            if (!description.autoSize) {
                QCOMPARE(widget->geometry(), QRect(twips.left / 15, twips.top / 15,
                                                   twips.width / 15, twips.height / 15));
                continue;
            }
            // Sized to its text in the real font, centred on the axis 2167.5 twips in.
            const auto* label = static_cast<const QLabel*>(widget);
            QCOMPARE(widget->width(),
                     QFontMetrics(widget->font()).horizontalAdvance(label->text()));
            QCOMPARE(widget->y(), twips.top / 15);
            QVERIFY(std::abs(widget->x() + widget->width() / 2.0 - 144.5) <= 0.5);
        }
    }

    // The texts the handlers set, as the widgets show them and screen readers hear them.
    void textsReachTheirWidgetsAndScreenReaders() {
        QCOMPARE(controls().lblTip->text(),
                 QStringLiteral("\\\\PC1\nRunning Windows 2000 , has been up for:"));
        live_->system.milliseconds = 90'061'400;
        const QString uptime = QStringLiteral("1 day 1 hour 1 minute 1 second");
        QTRY_COMPARE(controls().txtUptime->text(), uptime);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(controls().txtUptime)->text(QAccessible::Value),
            uptime);
        live_->window.forms().SetText(Control::lblTip, "\\\\\xC3\x85SA\r\nRunning");
        QCOMPARE(controls().lblTip->text(), QStringLiteral("\\\\\u00C5SA\nRunning"));

        for (const auto& description : ui::kControls) {
            QWidget* widget = controls().Find(description.control);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
                     qPrintable(widget->objectName()));
            QVERIFY2(!accessible->text(QAccessible::Description).isEmpty(),
                     qPrintable(widget->objectName()));
        }
        // An action label is named by its own words, not its neighbour's.
        for (const QLabel* label : {controls().lblShutDown, controls().lblRestart})
            QVERIFY(label->text().endsWith(label->accessibleName()));
    }

    // Run again with the DejaVu fonts alone (qt_window_dejavu), the widest free ones.
    void aLongNameIsShortenedToFitTheWindowAndWholeInTheToolTip_data() {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("os");
        QTest::newRow("64 characters")
            << QString(64, QChar('W')) << QStringLiteral("Debian GNU/Linux 12 (bookworm) ");
        QTest::newRow("a long system name")
            << "PC1"
            << "Red Hat Enterprise Linux CoreOS 414.92.202402130420-0 (Plow) ";
    }
    void aLongNameIsShortenedToFitTheWindowAndWholeInTheToolTip() {
        QFETCH(QString, machine);
        QFETCH(QString, os);
        fakes::FakeSystem system;
        system.machineName = machine.toStdString();
        system.osName = os.toStdString();
        MainWindow window(system);
        window.Start();
        const QLabel* tip = window.controls().lblTip;
        const QString whole = "\\\\" + machine + "\nRunning " + os + ", has been up for:";
        QCOMPARE(tip->toolTip(), whole);
        QCOMPARE(QAccessible::queryAccessibleInterface(const_cast<QLabel*>(tip))
                     ->text(QAccessible::Name),
                 whole);
        const QStringList lines = tip->text().split('\n');
        QCOMPARE(lines.size(), 2);
        // Clear of both edges of the window, on one line each.
        for (const QString& line : lines)
            QVERIFY2(QFontMetrics(tip->font()).horizontalAdvance(line) < window.width() - 4,
                     qPrintable(line));
        QVERIFY(tip->text().contains(QChar(0x2026)));
    }

    void tabStopsAtTheActionLabelsWhichShowTheirFocusButAClickLeavesIt() {
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        for (QWidget* next :
             QWidgetList{controls().lblShutDown, controls().lblRestart, controls().txtUptime}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), controls().lblRestart);

        QLabel* label = controls().lblShutDown;
        const QImage unfocused = label->grab().toImage();
        TabTo(label);
        QVERIFY(label->grab().toImage() != unfocused);
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        QCOMPARE(label->grab().toImage(), unfocused);
        QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
        QCOMPARE(QApplication::focusWidget(), controls().txtUptime);
        QVERIFY(live_->journal.empty() && live_->boxes.empty() && live_->menus.empty());
    }

    // Each native event, on its target, and what the handlers then asked for.
    void eventsReachTheirHandlers_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<bool>("popup");
        QTest::addColumn<QString>("box");  // "", "Sure?" or "About"
        const QStringList none, restart{"privilege", "request restart"},
            powerOff{"privilege", "request power off"};
        const auto row = [](const char* name, const char* target, const char* event,
                            QMessageBox::StandardButton answer, const QStringList& asked,
                            bool popup, const char* box) {
            QTest::newRow(name) << target << event << answer << asked << popup << box;
        };
        row("hover restart", "lblRestart", "move", QMessageBox::Yes, none, false, "");
        row("hover shut down", "lblShutDown", "move", QMessageBox::Yes, none, false, "");
        row("click restart", "lblRestart", "click", QMessageBox::Yes, none, false, "");
        row("double-click restart, Yes", "lblRestart", "double", QMessageBox::Yes, restart, false,
            "Sure?");
        row("double-click shut down, Escape", "lblShutDown", "double", QMessageBox::Escape, none,
            false, "Sure?");
        row("right press on the background", "frmMain", "right", QMessageBox::Ok, none, true,
            "About");
        row("right press on a label", "lblRestart", "right", QMessageBox::Ok, none, false, "");
        row("right press on the frame", "fraTodo", "right", QMessageBox::Ok, none, false, "");
        row("Return on restart, No", "lblRestart", "Return", QMessageBox::No, none, false, "Sure?");
        row("keypad Enter on shut down, Yes", "lblShutDown", "Enter", QMessageBox::Yes, powerOff,
            false, "Sure?");
        row("Space on restart, Yes", "lblRestart", "Space", QMessageBox::Yes, restart, false,
            "Sure?");
        row("another key on restart", "lblRestart", "A", QMessageBox::Yes, none, false, "");
        row("Shift+F10 in the text box, About", "txtUptime", "Shift+F10", QMessageBox::Ok, none,
            true, "About");
        row("menu key on a label, dismissed", "lblShutDown", "menu key", QMessageBox::Ok, none,
            true, "");
    }
    void eventsReachTheirHandlers() {
        QFETCH(QString, target);
        QFETCH(QString, event);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, asked);
        QFETCH(bool, popup);
        QFETCH(QString, box);
        QWidget* widget = live_->Find(target);
        QVERIFY(widget);
        live_->answer = answer;
        live_->chooseAbout = box == "About";
        const QMap<QString, int> keys{{"Return", Qt::Key_Return},
                                      {"Enter", Qt::Key_Enter},
                                      {"Space", Qt::Key_Space},
                                      {"A", Qt::Key_A},
                                      {"Shift+F10", Qt::Key_F10}};
        const QPoint surface(6, controls().fraTodo->height() - 6);  // the frame's own
        QTest::mouseMove(controls().fraTodo, surface);
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
            const QPoint at = target == "frmMain"   ? QPoint(8, 60)
                              : target == "fraTodo" ? surface
                                                    : widget->rect().center();
            QCOMPARE(widget->childAt(at), nullptr);
            if (event == "move") QTest::mouseMove(widget, at);
            if (event == "click") QTest::mouseClick(widget, Qt::LeftButton, {}, at);
            if (event == "double") QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
            if (event == "right") QTest::mouseClick(widget, Qt::RightButton, {}, at);
        }

        // The label under the pointer lights in the palette's Light, the others keep ButtonText.
        for (const QLabel* label : {controls().lblRestart, controls().lblShutDown}) {
            const bool lit = event == "move" && label == widget;
            QTRY_COMPARE(
                label->palette().color(label->foregroundRole()),
                QApplication::palette().color(lit ? QPalette::Light : QPalette::ButtonText));
        }
        QCOMPARE(Asked(), asked);
        QCOMPARE(live_->menus.size(), std::size_t{popup});
        if (popup && event != "right")
            QCOMPARE(live_->menus.front(), widget->mapToGlobal(widget->rect().center()));
        QCOMPARE(live_->boxes.size(), std::size_t{!box.isEmpty()});
        if (box.isEmpty()) return;
        const SeenBox& seen = live_->boxes.front();
        const bool sure = box == "Sure?";
        if (!sure) QCOMPARE(seen.text, ToQString(AboutText()));
        QCOMPARE(seen.icon, sure ? QMessageBox::Question : QMessageBox::Information);
        QCOMPARE(seen.buttons, sure ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
        QCOMPARE(seen.defaultButton, sure ? QMessageBox::Yes : QMessageBox::Ok);
        if (!sure || event == "double") return;

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
        QWidget* const over[] = {&live_->window, controls().lblRestart, controls().txtUptime};
        const Qt::CursorShape textBox = controls().txtUptime->cursor().shape();
        QTest::mouseDClick(controls().lblRestart, Qt::LeftButton, {},
                           controls().lblRestart->rect().center());
        QTRY_COMPARE(live_->boxes.size(), std::size_t{1});
        for (const QWidget* widget : over) QCOMPARE(widget->cursor().shape(), Qt::BusyCursor);
        QVERIFY(live_->system.Answer());
        QCOMPARE(controls().lblRestart->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(controls().txtUptime->cursor().shape(), textBox);
    }

    void closingTheWindowEndsTheProgram() {
        QTimer::singleShot(0, &live_->window, [this] { live_->window.close(); });
        // Only so that a window that fails to quit fails the test instead of hanging it.
        QTimer::singleShot(30'000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::WindowTest)
#include "window_test.moc"
