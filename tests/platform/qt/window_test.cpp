// The Qt window: its widgets laid out from the window description, and its translation of
// real mouse events into frmMain's handlers and of their requests into widgets, boxes and
// the popup. The rules themselves are the handlers' and are tested there.
#include <QAccessible>
#include <QApplication>
#include <QScreen>
#include <QtTest>
#include <memory>

#include "live_window.h"

namespace tolvane::qt {

class WindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::LiveWindow> live_;

    const ControlWidgets& controls() const { return live_->controls(); }
    static QColor Colour(const QLabel* label) {
        return label->palette().color(label->foregroundRole());
    }
    static QColor Palette(QPalette::ColorRole role) { return QApplication::palette().color(role); }
    QStringList Asked() const {
        QStringList asked;
        for (const auto& entry : live_->journal) asked << QString::fromStdString(entry);
        return asked;
    }

  private slots:
    void init() {
        live_ = std::make_unique<testing::LiveWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(&live_->window));
        live_->journal.clear();  // what loading asked is not the pointer's doing
    }
    void cleanup() { live_.reset(); }

    // The offscreen screen reports 96 dpi whatever the machine: 15 twips a pixel.
    void aFixedToolWindowCentredWithEachControlWhereTheDescriptionPutsIt() {
        QWidget& window = live_->window;
        QCOMPARE(window.logicalDpiX(), 96);
        QCOMPARE(window.windowFlags() & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(window.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tolvane"));
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
            QCOMPARE(widget->font().family(), QStringLiteral("Tahoma"));
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

    void headingAndUptimeAreWrittenIntoTheirWidgets() {
        QCOMPARE(controls().lblTip->text(),
                 QStringLiteral("\\\\PC1\nRunning Windows 2000 , has been up for:"));
        live_->system.milliseconds = 90'061'400;
        QTRY_COMPARE(controls().txtUptime->text(),
                     QStringLiteral("1 day 1 hour 1 minute 1 second"));
        live_->window.forms().SetText(Control::lblTip, "\\\\\xC3\x85SA\r\nRunning");
        QCOMPARE(controls().lblTip->text(), QStringLiteral("\\\\\u00C5SA\nRunning"));
    }

    // Run again with the DejaVu fonts alone (qt_window_dejavu), the widest free ones.
    void aLongNameIsShortenedToFitTheWindowAndWholeInTheToolTip_data() {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("os");
        const QString debian = QStringLiteral("Debian GNU/Linux 12 (bookworm) ");
        QTest::newRow("63 characters") << QString(63, QChar('m')) << debian;
        QTest::newRow("64 characters") << QString(64, QChar('W')) << debian;
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
        QVERIFY(lines[0].startsWith("\\\\"));
        QVERIFY(lines[1].startsWith("Running ") && lines[1].endsWith(", has been up for:"));
        // Clear of both edges of the window, on one line each.
        for (const QString& line : lines)
            QVERIFY2(QFontMetrics(tip->font()).horizontalAdvance(line) < window.width() - 4,
                     qPrintable(line));
        QVERIFY(tip->text().contains(QChar(0x2026)));
    }

    void mouseEventsReachTheirHandlers_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("box");
        const QString reboot = "Are you sure you want to reboot the computer?";
        const QString shutDown = "Are you sure you want to shut the computer down?";
        QTest::newRow("hover restart") << "lblRestart"
                                       << "move" << QMessageBox::No << QStringList() << "";
        QTest::newRow("hover shut down") << "lblShutDown"
                                         << "move" << QMessageBox::No << QStringList() << "";
        QTest::newRow("click restart") << "lblRestart"
                                       << "click" << QMessageBox::Yes << QStringList() << "";
        QTest::newRow("double-click restart, No")
            << "lblRestart"
            << "double" << QMessageBox::No << QStringList() << reboot;
        QTest::newRow("double-click shut down, Yes")
            << "lblShutDown"
            << "double" << QMessageBox::Yes << QStringList({"privilege", "request power off"})
            << shutDown;
        QTest::newRow("right press on the background")
            << "frmMain"
            << "right" << QMessageBox::Ok << QStringList()
            << "Tolvane\nVer 1.0.20\nby the Tolvane authors";
        QTest::newRow("right press on a label")
            << "lblRestart"
            << "right" << QMessageBox::Ok << QStringList() << "";
        QTest::newRow("right press on the frame")
            << "fraTodo"
            << "right" << QMessageBox::Ok << QStringList() << "";
    }
    void mouseEventsReachTheirHandlers() {
        QFETCH(QString, target);
        QFETCH(QString, event);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QStringList, asked);
        QFETCH(QString, box);
        QWidget* widget =
            target == "frmMain" ? &live_->window : live_->window.findChild<QWidget*>(target);
        QVERIFY(widget);
        // The window's bare background is left of the text box; the frame's own surface is
        // left of both labels, below its title.
        const QPoint at = target == "frmMain"   ? QPoint(8, 60)
                          : target == "fraTodo" ? QPoint(6, widget->height() - 6)
                                                : widget->rect().center();
        QCOMPARE(widget->childAt(at), nullptr);
        live_->user.answer = answer;
        live_->user.menuChoice = QStringLiteral("&About...");

        QTest::mouseMove(controls().fraTodo, QPoint(6, controls().fraTodo->height() - 6));
        if (event == "move") QTest::mouseMove(widget, at);
        if (event == "click") QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        if (event == "double") QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
        if (event == "right") QTest::mouseClick(widget, Qt::RightButton, {}, at);

        // The label under the pointer lights in the palette's Light, the others keep ButtonText.
        for (const QLabel* label : {controls().lblRestart, controls().lblShutDown}) {
            const bool lit = event == "move" && label == widget;
            QTRY_COMPARE(Colour(label), Palette(lit ? QPalette::Light : QPalette::ButtonText));
        }
        QCOMPARE(Asked(), asked);
        QCOMPARE(live_->user.menus.size(), std::size_t(event == "right" && !box.isEmpty()));
        QCOMPARE(live_->user.boxes.size(), std::size_t(!box.isEmpty()));
        if (box.isEmpty()) return;
        const testing::SeenBox& seen = live_->user.boxes.front();
        QCOMPARE(seen.text, box);
        const bool sure = event == "double";
        QCOMPARE(seen.title, sure ? QStringLiteral("Sure?") : QStringLiteral("About Tolvane"));
        QCOMPARE(seen.icon, sure ? QMessageBox::Question : QMessageBox::Information);
        QCOMPARE(seen.buttons, sure ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
        QCOMPARE(seen.defaultButton, sure ? QMessageBox::Yes : QMessageBox::Ok);
        if (!sure) QCOMPARE(live_->user.menus.front(), QStringList({"&About..."}));
    }

    // Over the whole window while a request waits, the text box included; then as before.
    void whileARequestWaitsThePointerIsBusy() {
        live_->system.answerAtOnce = false;
        live_->user.answer = QMessageBox::Yes;
        QWidget* const over[] = {&live_->window, controls().lblRestart, controls().txtUptime};
        const Qt::CursorShape textBox = controls().txtUptime->cursor().shape();
        QTest::mouseDClick(controls().lblRestart, Qt::LeftButton, {},
                           controls().lblRestart->rect().center());
        QTRY_COMPARE(live_->user.boxes.size(), std::size_t{1});
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
