#include <QAccessible>
#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

#include "fakes/fake_system.h"
#include "platform/qt/main_window.h"
#include "ui/window_description.h"

namespace tolvane::qt {

class WindowLayoutTest : public QObject {
    Q_OBJECT

  private:
    fakes::FakeSystem system_;
    std::unique_ptr<MainWindow> window_;

    QWidget* Widget(Control control) const { return window_->controls().Find(control); }

  private slots:
    void init() {
        system_ = fakes::FakeSystem();
        window_ = std::make_unique<MainWindow>(system_);
    }
    void cleanup() { window_.reset(); }

    void reportsTheDpiTheExpectationsAssume() {
        QCOMPARE(window_->logicalDpiX(), 96);
        QCOMPARE(window_->logicalDpiY(), 96);
    }

    void isAFixedToolWindowWithCaptionAndCloseOnly() {
        const Qt::WindowFlags flags = window_->windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags & Qt::WindowTitleHint);
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(window_->minimumSize(), QSize(336, 144));
        QCOMPARE(window_->maximumSize(), QSize(336, 144));
    }

    void opensCentredOnTheScreen() {
        window_->Start();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QCOMPARE(window_->size(), QSize(336, 144));
        const QPoint offCentre =
            window_->frameGeometry().center() - window_->screen()->availableGeometry().center();
        QVERIFY2(
            offCentre.manhattanLength() <= 1,
            qPrintable(QStringLiteral("%1,%2 off centre").arg(offCentre.x()).arg(offCentre.y())));
    }

    void placesEachControlAtItsTwipsOverFifteen() {
        for (const auto& description : ui::kControls) {
            const QWidget* widget = Widget(description.control);
            QVERIFY(widget);
            const char* name = description.name.data();
            QCOMPARE(widget->objectName().toStdString(), std::string(description.name));
            const QWidget* container = description.container == Control::frmMain
                                           ? window_.get()
                                           : Widget(description.container);
            QVERIFY2(widget->parentWidget() == container, name);
            QCOMPARE(widget->font().family(), QStringLiteral("Tahoma"));
            QCOMPARE(widget->font().pointSizeF(), 8.25);

            const auto& twips = description.rect;
            if (!description.autoSize) {
                QVERIFY2(twips.left % 15 == 0 && twips.width % 15 == 0, name);
                QCOMPARE(widget->geometry(), QRect(twips.left / 15, twips.top / 15,
                                                   twips.width / 15, twips.height / 15));
                continue;
            }
            // Sized to its text in the real font, centred on the axis 2167.5 twips in.
            const QFontMetrics metrics(widget->font());
            const auto* label = static_cast<const QLabel*>(widget);
            QCOMPARE(widget->width(), metrics.horizontalAdvance(label->text()));
            QCOMPARE(widget->height(), metrics.height());
            QCOMPARE(widget->y(), twips.top / 15);
            const double centre = widget->x() + widget->width() / 2.0;
            QVERIFY2(std::abs(centre - 144.5) <= 0.5, qPrintable(QString::number(centre)));
        }
    }

    void showsTheDescribedTextsThenTheHeading() {
        QCOMPARE(window_->controls().lblTip->text(),
                 QStringLiteral("\\\\COMPUTERNAME34567890123456789012345 has been up for:"));
        QCOMPARE(window_->controls().fraTodo->title(),
                 QStringLiteral("I want to (double click the option)..."));
        QCOMPARE(window_->controls().lblShutDown->text(),
                 QStringLiteral("o Shut Down the Computer"));
        QCOMPARE(window_->controls().lblRestart->text(), QStringLiteral("o Restart the Computer"));
        QVERIFY(window_->controls().txtUptime->isReadOnly());

        window_->Start();
        QCOMPARE(window_->controls().lblTip->text(),
                 QStringLiteral("\\\\PC1\nRunning Windows 2000 , has been up for:"));
        QCOMPARE(window_->controls().lblTip->alignment(), Qt::AlignHCenter | Qt::AlignTop);
    }

    // Run again with the DejaVu fonts alone (qt_window_layout_dejavu), the widest free ones.
    void aLongNameIsShortenedToFitTheWindowAndWholeInTheToolTip_data() {
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QString>("os");
        const QString debian = QStringLiteral("Debian GNU/Linux 12 (bookworm) ");
        QTest::newRow("63 characters") << QString(63, QChar('m')) << debian;
        QTest::newRow("64 characters") << QString(64, QChar('W')) << debian;
        QTest::newRow("a long system name")
            << "PC1"
            << "Red Hat Enterprise Linux CoreOS 414.92.202402130420-0 (Plow) ";
        QTest::newRow("Debian") << "debian" << debian;
    }
    void aLongNameIsShortenedToFitTheWindowAndWholeInTheToolTip() {
        QFETCH(QString, machine);
        QFETCH(QString, os);
        system_.machineName = machine.toStdString();
        system_.osName = os.toStdString();
        window_->Start();
        const QLabel* tip = window_->controls().lblTip;
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
        const QFontMetrics metrics(tip->font());
        for (const QString& line : lines) {
            const int width = metrics.horizontalAdvance(line);
            QVERIFY2(width < window_->width() - 4, qPrintable(line));
        }
        if (tip->text() != whole) QVERIFY(tip->text().contains(QChar(0x2026)));
    }

    void followsTheTabOrder() {
        QStringList chain;
        for (QWidget* widget = window_->nextInFocusChain(); widget != window_.get();
             widget = widget->nextInFocusChain())
            chain << widget->objectName();
        chain.removeAll(QString());  // Qt's own helpers inside controls, if any
        QCOMPARE(chain,
                 QStringList({"lblTip", "txtUptime", "fraTodo", "lblShutDown", "lblRestart"}));
    }

    void labelsStartInTheButtonTextColour() {
        const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
        for (const QLabel* label : {window_->controls().lblTip, window_->controls().lblShutDown,
                                    window_->controls().lblRestart})
            QCOMPARE(label->palette().color(label->foregroundRole()), buttonText);
    }

    void uptimeIsEmptyUntilTheFirstTickThenFollowsTheClock() {
        system_.milliseconds = 90'061'400;
        window_->Start();
        QCOMPARE(window_->controls().txtUptime->text(), QString());
        QTRY_COMPARE(window_->controls().txtUptime->text(),
                     QStringLiteral("1 day 1 hour 1 minute 1 second"));
        window_->controls().txtUptime->setText(QStringLiteral("typed over"));
        system_.milliseconds = 691'205'000;
        QTRY_COMPARE(window_->controls().txtUptime->text(),
                     QStringLiteral("1 week 1 day 0 hour 0 minute 5 seconds"));
    }

    void closingTheWindowEndsTheProgram() {
        window_->Start();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        QTimer::singleShot(0, window_.get(), [this] { window_->close(); });
        // Only so that a window that fails to quit fails the test instead of hanging it.
        QTimer::singleShot(30'000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!window_->isVisible());
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::WindowLayoutTest)
#include "window_layout_test.moc"
