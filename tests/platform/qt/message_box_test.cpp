#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QtTest>
#include <stdexcept>

#include "platform/forms.h"
#include "platform/qt/message_box.h"
#include "platform/qt/palette_colors.h"

namespace tolvane::qt {

class MessageBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void buildsTheBoxTheStyleAsksFor_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::addColumn<QMessageBox::StandardButton>("defaultButton");
        QTest::addColumn<int>("escapeAnswer");
        QTest::newRow("36: Yes/No, question")
            << 36 << QMessageBox::Question << (QMessageBox::Yes | QMessageBox::No)
            << QMessageBox::Yes << msgbox::kNo;
        QTest::newRow("64: OK, information")
            << 64 << QMessageBox::Information << QMessageBox::StandardButtons(QMessageBox::Ok)
            << QMessageBox::Ok << msgbox::kOk;
        QTest::newRow("48: OK, exclamation")
            << 48 << QMessageBox::Warning << QMessageBox::StandardButtons(QMessageBox::Ok)
            << QMessageBox::Ok << msgbox::kOk;
        QTest::newRow("4: Yes/No, no icon")
            << 4 << QMessageBox::NoIcon << (QMessageBox::Yes | QMessageBox::No) << QMessageBox::Yes
            << msgbox::kNo;
    }
    void buildsTheBoxTheStyleAsksFor() {
        QFETCH(int, style);
        QFETCH(QMessageBox::Icon, icon);
        QFETCH(QMessageBox::StandardButtons, buttons);
        QFETCH(QMessageBox::StandardButton, defaultButton);
        QFETCH(int, escapeAnswer);
        QWidget owner;
        const auto box = MakeMessageBox("first\r\nsecond", style, "Title", &owner);
        QCOMPARE(box->parentWidget(), &owner);
        QCOMPARE(box->text(), QStringLiteral("first\nsecond"));
        QCOMPARE(box->windowTitle(), QStringLiteral("Title"));
        QCOMPARE(box->icon(), icon);
        QCOMPARE(box->standardButtons(), buttons);
        QCOMPARE(box->standardButton(box->defaultButton()), defaultButton);
        // Closed without a button (Escape, the Close box): the escape button's answer.
        QCOMPARE(AnswerOf(*box), escapeAnswer);
    }

    void answersWithTheButtonPressed_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::StandardButton>("pressed");
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes") << 36 << QMessageBox::Yes << msgbox::kYes;
        QTest::newRow("No") << 36 << QMessageBox::No << msgbox::kNo;
        QTest::newRow("OK") << 64 << QMessageBox::Ok << msgbox::kOk;
    }
    void answersWithTheButtonPressed() {
        QFETCH(int, style);
        QFETCH(QMessageBox::StandardButton, pressed);
        QFETCH(int, answer);
        const auto box = MakeMessageBox("?", style, "t", nullptr);
        box->button(pressed)->click();
        QCOMPARE(AnswerOf(*box), answer);
    }

    void refusesStylesItDoesNotKnow() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, MakeMessageBox("?", 6, "t", nullptr));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, MakeMessageBox("?", 4 + 80, "t", nullptr));
    }

    void systemColoursResolveToTheirPaletteRoles() {
        QPalette palette;
        palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
        palette.setColor(QPalette::Light, QColor(4, 5, 6));
        QCOMPARE(ResolveColor(kColorButtonText, palette), QColor(1, 2, 3));
        QCOMPARE(ResolveColor(kColorButtonHighlight, palette), QColor(4, 5, 6));
        // A plain colour is 0x00BBGGRR.
        QCOMPARE(ResolveColor(0x00332211u, palette), QColor(0x11, 0x22, 0x33));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, PaletteRole(0x80000005u));
        // Index 18 without the system flag is a plain, nearly black colour.
        QCOMPARE(ResolveColor(0x00000012u, palette), QColor(0x12, 0, 0));
    }
};

}  // namespace tolvane::qt

QTEST_MAIN(tolvane::qt::MessageBoxTest)
#include "message_box_test.moc"
