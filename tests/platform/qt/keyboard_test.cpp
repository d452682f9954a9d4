#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QtTest>
#include <memory>

#include "live_window.h"

namespace tolvane::qt {

// Real key events on the real, active window; the boxes and the popup are answered by
// the test.
class KeyboardTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::LiveWindow> live_;

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
    static QPoint GlobalCentre(const QWidget* widget) {
        return widget->mapToGlobal(widget->rect().center());
    }

  private slots:
    void init() {
        live_ = std::make_unique<testing::LiveWindow>();
        QVERIFY(QTest::qWaitForWindowActive(&live_->window));
        live_->journal.clear();
    }
    void cleanup() { live_.reset(); }

    void tabGoesFromTheTextBoxToShutDownThenRestartAndRoundAgain() {
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        const QList<QWidget*> expected{controls().lblShutDown, controls().lblRestart,
                                       controls().txtUptime};
        for (QWidget* next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), controls().lblRestart);
        QVERIFY(live_->journal.empty() && live_->user.boxes.empty() && live_->user.menus.empty());
    }

    void aClickDoesNotTakeTheFocusFromTheTextBox() {
        controls().txtUptime->setFocus(Qt::OtherFocusReason);
        for (QWidget* label : {static_cast<QWidget*>(controls().lblShutDown),
                               static_cast<QWidget*>(controls().lblRestart)}) {
            QTest::mouseClick(label, Qt::LeftButton, {}, label->rect().center());
            QCOMPARE(QApplication::focusWidget(), controls().txtUptime);
        }
    }

    void enterOrSpaceOnALabelAsksAsItsDoubleClickDoes_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("key");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("requests");
        const QString reboot = "Are you sure you want to reboot the computer?";
        const QString shutDown = "Are you sure you want to shut the computer down?";
        QTest::newRow("Restart, Enter, Yes")
            << "lblRestart" << int{Qt::Key_Return} << QMessageBox::Yes << reboot
            << QStringList({"privilege", "request restart"});
        QTest::newRow("Restart, keypad Enter, No")
            << "lblRestart" << int{Qt::Key_Enter} << QMessageBox::No << reboot << QStringList();
        QTest::newRow("Restart, Space, No")
            << "lblRestart" << int{Qt::Key_Space} << QMessageBox::No << reboot << QStringList();
        QTest::newRow("Shut Down, Space, Yes")
            << "lblShutDown" << int{Qt::Key_Space} << QMessageBox::Yes << shutDown
            << QStringList({"privilege", "request power off"});
        QTest::newRow("Shut Down, Enter, No")
            << "lblShutDown" << int{Qt::Key_Return} << QMessageBox::No << shutDown << QStringList();
    }
    // A key event as the platform hands it to the window, before any widget sees it.
    void SendToWindow(QEvent::Type type, int key, ulong time, bool autoRepeat = false) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
        event.setTimestamp(time);
        QApplication::sendEvent(live_->window.windowHandle(), &event);
    }
    void enterOrSpaceOnALabelAsksAsItsDoubleClickDoes() {
        QFETCH(QString, label);
        QFETCH(int, key);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, requests);
        auto* target = live_->window.findChild<QLabel*>(label);
        QVERIFY(target);
        TabTo(target);
        live_->user.answer = answer;

        SendToWindow(QEvent::KeyPress, key, 100);
        QCOMPARE(live_->user.boxes.size(), std::size_t{1});
        QCOMPARE(live_->user.boxes.front().text, question);
        QCOMPARE(live_->user.boxes.front().title, QStringLiteral("Sure?"));
        QCOMPARE(live_->user.boxes.front().defaultButton, QMessageBox::Yes);
        QCOMPARE(Asked(), requests);
        // Held on: repeats as X11 sends them, unflagged pairs and flagged ones, ask nothing.
        SendToWindow(QEvent::KeyRelease, key, 600);
        SendToWindow(QEvent::KeyPress, key, 600);
        SendToWindow(QEvent::KeyRelease, key, 630, true);
        SendToWindow(QEvent::KeyPress, key, 630, true);
        SendToWindow(QEvent::KeyRelease, key, 3000);
        QCOMPARE(live_->user.boxes.size(), std::size_t{1});
        // Pressed afresh, it asks again.
        SendToWindow(QEvent::KeyPress, key, 3400);
        QCOMPARE(live_->user.boxes.size(), std::size_t{2});
        QVERIFY(live_->user.menus.empty());
    }

    void shiftF10OrTheMenuKeyOpensThePopupByTheFocus_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<bool>("menuKey");  // else Shift+F10
        QTest::addColumn<QString>("choice");
        for (const char* focus : {"txtUptime", "lblShutDown", "lblRestart"}) {
            QTest::addRow("%s, Shift+F10, About", focus) << focus << false << "&About...";
            QTest::addRow("%s, menu key, dismissed", focus) << focus << true << "";
        }
    }
    void shiftF10OrTheMenuKeyOpensThePopupByTheFocus() {
        QFETCH(QString, focus);
        QFETCH(bool, menuKey);
        QFETCH(QString, choice);
        auto* target = live_->window.findChild<QWidget*>(focus);
        QVERIFY(target);
        TabTo(target);
        live_->user.menuChoice = choice;
        if (menuKey) {
            // What the platform makes of the context-menu key, sent to the focused widget.
            const QPoint centre = target->rect().center();
            QContextMenuEvent event(QContextMenuEvent::Keyboard, centre,
                                    target->mapToGlobal(centre));
            QApplication::sendEvent(target, &event);
            QVERIFY(event.isAccepted());
        } else {
            QTest::keyClick(target, Qt::Key_F10, Qt::ShiftModifier);
        }
        QCOMPARE(live_->user.menus.size(), std::size_t{1});
        QCOMPARE(live_->user.menus.front(), QStringList({"&About..."}));
        QCOMPARE(live_->user.menuPositions.front(), GlobalCentre(target));
        QCOMPARE(live_->user.boxes.size(), choice.isEmpty() ? std::size_t{0} : std::size_t{1});
        if (!choice.isEmpty())
            QCOMPARE(live_->user.boxes.front().title, QStringLiteral("About Tolvane"));
        QVERIFY(live_->journal.empty());
    }

    void aFocusedLabelShowsItsFocus() {
        QLabel* label = controls().lblRestart;
        const QImage unfocused = label->grab().toImage();
        TabTo(label);
        const QImage focused = label->grab().toImage();
        QVERIFY(focused != unfocused);
        QTest::keyClick(label, Qt::Key_Tab);
        QVERIFY(!label->hasFocus());
        QCOMPARE(label->grab().toImage(), unfocused);
    }

    void screenReadersHearANameAndADescriptionForEachControl_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::newRow("heading") << "lblTip"
                                 << "\\\\PC1\nRunning Windows 2000 , has been up for:"
                                 << "This computer's name and operating system";
        QTest::newRow("uptime") << "txtUptime"
                                << "Uptime"
                                << "How long this computer has been running since it was started";
        QTest::newRow("frame") << "fraTodo"
                               << "Restart or shut down"
                               << "Two actions; each asks for a confirmation first";
        QTest::newRow("shut down")
            << "lblShutDown"
            << "Shut Down the Computer"
            << "Double-click, or press Enter or Space, to shut down the computer after a "
               "confirmation";
        QTest::newRow("restart")
            << "lblRestart"
            << "Restart the Computer"
            << "Double-click, or press Enter or Space, to restart the computer after a "
               "confirmation";
    }
    void screenReadersHearANameAndADescriptionForEachControl() {
        QFETCH(QString, control);
        QFETCH(QString, name);
        QFETCH(QString, description);
        auto* widget = live_->window.findChild<QWidget*>(control);
        QVERIFY(widget);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QCOMPARE(accessible->text(QAccessible::Description), description);
    }

    void theUptimeIsReadAsTheValueOfTheTextBox() {
        live_->system.milliseconds = 90'061'400;
        QTRY_COMPARE(controls().txtUptime->text(),
                     QStringLiteral("1 day 1 hour 1 minute 1 second"));
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(controls().txtUptime);
        QVERIFY(accessible);
        QCOMPARE(accessible->text(QAccessible::Value),
                 QStringLiteral("1 day 1 hour 1 minute 1 second"));
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::KeyboardTest)
#include "keyboard_test.moc"
