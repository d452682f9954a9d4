#include <QApplication>
#include <QtTest>
#include <memory>

#include "live_window.h"

namespace tolvane::qt {

// Real mouse events on the real widgets, through Qt's own delivery.
class PointerTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<testing::LiveWindow> live_;

    const ControlWidgets& controls() const { return live_->controls(); }
    static QColor Colour(const QLabel* label) {
        return label->palette().color(label->foregroundRole());
    }
    static QColor Lit() { return QApplication::palette().color(QPalette::Light); }
    static QColor Normal() { return QApplication::palette().color(QPalette::ButtonText); }
    // The frame's own surface: left of both labels, below its title.
    QPoint FrameSurface() const { return {6, controls().fraTodo->height() - 6}; }
    // The window's bare background, left of the text box.
    static QPoint Background() { return {8, 60}; }
    static QPoint Middle(const QWidget* widget) { return widget->rect().center(); }

  private slots:
    void init() {
        live_ = std::make_unique<testing::LiveWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(&live_->window));
        live_->journal.clear();  // what loading asked is not the pointer's doing
    }
    void cleanup() { live_.reset(); }

    void thePointsUsedLieWhereTheTestsSay() {
        QVERIFY(Lit() != Normal());
        QCOMPARE(controls().fraTodo->childAt(FrameSurface()), nullptr);
        QCOMPARE(live_->window.childAt(Background()), nullptr);
    }

    void labelsLightUpAndOnlyTheFrameTurnsThemBack() {
        QTest::mouseMove(controls().fraTodo, FrameSurface());
        QTest::mouseMove(controls().lblRestart, Middle(controls().lblRestart));
        QTRY_COMPARE(Colour(controls().lblRestart), Lit());
        QCOMPARE(Colour(controls().lblShutDown), Normal());

        QTest::mouseMove(controls().fraTodo, FrameSurface());
        QTRY_COMPARE(Colour(controls().lblRestart), Normal());

        // One lit, then the other, without crossing the frame: both stay lit.
        QTest::mouseMove(controls().lblShutDown, Middle(controls().lblShutDown));
        QTest::mouseMove(controls().lblRestart, Middle(controls().lblRestart));
        QTRY_COMPARE(Colour(controls().lblRestart), Lit());
        QCOMPARE(Colour(controls().lblShutDown), Lit());

        QTest::mouseMove(controls().fraTodo, FrameSurface());
        QTRY_COMPARE(Colour(controls().lblShutDown), Normal());
        QCOMPARE(Colour(controls().lblRestart), Normal());
    }

    void aLabelLeftStraightOutOfTheWindowStaysLit() {
        QTest::mouseMove(controls().lblRestart, Middle(controls().lblRestart));
        QTRY_COMPARE(Colour(controls().lblRestart), Lit());
        // Over the text box, the heading, the background, then outside the window.
        QTest::mouseMove(controls().txtUptime, Middle(controls().txtUptime));
        QTest::mouseMove(controls().lblTip, Middle(controls().lblTip));
        QTest::mouseMove(&live_->window, Background());
        QTest::mouseMove(&live_->window, QPoint(-30, -30));
        QCoreApplication::processEvents();
        QCOMPARE(Colour(controls().lblRestart), Lit());
        QCOMPARE(Colour(controls().lblShutDown), Normal());
    }

    void doubleClickAsksAndOnlyYesReachesTheSystem_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("requests");
        const QString reboot = "Are you sure you want to reboot the computer?";
        const QString shutDown = "Are you sure you want to shut the computer down?";
        QTest::newRow("Restart, No") << "lblRestart" << QMessageBox::No << reboot << QStringList();
        QTest::newRow("Restart, Yes") << "lblRestart" << QMessageBox::Yes << reboot
                                      << QStringList({"privilege", "request restart"});
        QTest::newRow("Shut Down, No")
            << "lblShutDown" << QMessageBox::No << shutDown << QStringList();
        QTest::newRow("Shut Down, Yes") << "lblShutDown" << QMessageBox::Yes << shutDown
                                        << QStringList({"privilege", "request power off"});
    }
    void doubleClickAsksAndOnlyYesReachesTheSystem() {
        QFETCH(QString, label);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, requests);
        auto* target = live_->window.findChild<QLabel*>(label);
        QVERIFY(target);
        live_->user.answer = answer;

        QTest::mouseDClick(target, Qt::LeftButton, {}, Middle(target));
        QTRY_COMPARE(live_->user.boxes.size(), std::size_t{1});
        const testing::SeenBox& box = live_->user.boxes.front();
        QCOMPARE(box.text, question);
        QCOMPARE(box.title, QStringLiteral("Sure?"));
        QCOMPARE(box.icon, QMessageBox::Question);
        QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.defaultButton, QMessageBox::Yes);
        QStringList asked;
        for (const auto& entry : live_->journal) asked << QString::fromStdString(entry);
        QCOMPARE(asked, requests);
        QVERIFY(live_->user.menus.empty());
    }

    void whileARequestWaitsThePointerIsBusyOverTheWholeWindow() {
        live_->system.answerAtOnce = false;
        live_->user.answer = QMessageBox::Yes;
        QWidget* const over[] = {&live_->window, controls().lblRestart, controls().lblTip,
                                 controls().fraTodo, controls().txtUptime};
        const Qt::CursorShape textBoxBefore = controls().txtUptime->cursor().shape();
        QCOMPARE_NE(textBoxBefore, Qt::BusyCursor);

        QTest::mouseDClick(controls().lblRestart, Qt::LeftButton, {},
                           Middle(controls().lblRestart));
        QTRY_COMPARE(live_->user.boxes.size(), std::size_t{1});
        for (const QWidget* widget : over) QCOMPARE(widget->cursor().shape(), Qt::BusyCursor);

        QVERIFY(live_->system.Answer());
        QCOMPARE(live_->window.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(controls().lblRestart->cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(controls().txtUptime->cursor().shape(), textBoxBefore);
    }

    void rightPressOnTheBackgroundOffersTheAboutBox() {
        live_->user.menuChoice = QStringLiteral("&About...");
        QTest::mousePress(&live_->window, Qt::RightButton, {}, Background());
        QTRY_COMPARE(live_->user.menus.size(), std::size_t{1});
        QCOMPARE(live_->user.menus.front(), QStringList({"&About..."}));
        QCOMPARE(live_->user.boxes.size(), std::size_t{1});
        const testing::SeenBox& box = live_->user.boxes.front();
        QCOMPARE(box.text, QStringLiteral("Tolvane\nVer 1.0.20\nby the Tolvane authors"));
        QCOMPARE(box.title, QStringLiteral("About Tolvane"));
        QCOMPARE(box.icon, QMessageBox::Information);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QTest::mouseRelease(&live_->window, Qt::RightButton, {}, Background());
    }

    void dismissingThePopupShowsNoBox() {
        QTest::mousePress(&live_->window, Qt::RightButton, {}, Background());
        QTRY_COMPARE(live_->user.menus.size(), std::size_t{1});
        QVERIFY(live_->user.boxes.empty());
        QTest::mouseRelease(&live_->window, Qt::RightButton, {}, Background());
    }

    void otherPressesDoNothingOfTheProgramsOwn() {
        live_->user.menuChoice = QStringLiteral("&About...");
        QTest::mouseClick(&live_->window, Qt::LeftButton, {}, Background());
        QTest::mouseClick(&live_->window, Qt::MiddleButton, {}, Background());
        for (QWidget* control : {static_cast<QWidget*>(controls().lblRestart),
                                 static_cast<QWidget*>(controls().lblShutDown),
                                 static_cast<QWidget*>(controls().lblTip)}) {
            QTest::mouseClick(control, Qt::RightButton, {}, Middle(control));
            QTest::mouseClick(control, Qt::LeftButton, {}, Middle(control));
        }
        QTest::mouseClick(controls().fraTodo, Qt::RightButton, {}, FrameSurface());
        QTest::mouseDClick(controls().fraTodo, Qt::LeftButton, {}, FrameSurface());
        // After all of those, a right press on the background is the first to be answered.
        QTest::mousePress(&live_->window, Qt::RightButton, {}, Background());
        QTRY_COMPARE(live_->user.menus.size(), std::size_t{1});
        QCOMPARE(live_->user.boxes.size(), std::size_t{1});
        QVERIFY(live_->journal.empty());
        QTest::mouseRelease(&live_->window, Qt::RightButton, {}, Background());
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::PointerTest)
#include "pointer_test.moc"
