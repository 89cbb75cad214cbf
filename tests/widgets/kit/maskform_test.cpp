#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/kit/maskform.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>

namespace {

// A window with a button and a text field under a full-size overlay.
class OverlayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(600, 400);
        button = new QPushButton(QStringLiteral("下一步"), &window);
        button->setGeometry(20, 20, 90, 30);
        field = new QLineEdit(&window);
        field->setGeometry(20, 80, 200, 30);
        overlay = new MaskForm(&window);
        overlay->setGeometry(window.rect());
        overlay->hide();
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::setActiveWindow(&window);
    }

    QWidget window;
    QPushButton* button = nullptr;
    QLineEdit* field = nullptr;
    MaskForm* overlay = nullptr;
};

} // namespace

TEST_F(OverlayTest, clicksDoNotReachTheWidgetsUnderneath)
{
    QSignalSpy clicked(button, &QPushButton::clicked);
    const QPoint onButton = button->geometry().center();

    overlay->show();
    QWidget* top = window.childAt(onButton);
    EXPECT_TRUE(top == overlay || overlay->isAncestorOf(top));
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, onButton);
    EXPECT_EQ(clicked.count(), 0);

    overlay->close();
    EXPECT_FALSE(overlay->isVisible());
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, onButton);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(OverlayTest, keysDoNotReachTheFocusedWidgetAndFocusComesBack)
{
    field->setFocus();
    QSignalSpy clicked(button, &QPushButton::clicked);

    overlay->show();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc"));
    EXPECT_EQ(field->text(), QString());
    // Tab must not walk into the covered widgets either.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(clicked.count(), 0);

    overlay->hide();
    EXPECT_TRUE(field->hasFocus());
    QTest::keyClicks(field, QStringLiteral("abc"));
    EXPECT_EQ(field->text(), QStringLiteral("abc"));
}

TEST_F(OverlayTest, tabMovesOnlyAmongTheFieldsOfADialogOnTheOverlay)
{
    auto* dialog = new QWidget(overlay);
    dialog->setGeometry(150, 100, 300, 200);
    auto* first = new QLineEdit(dialog);
    first->setGeometry(10, 10, 200, 30);
    auto* second = new QLineEdit(dialog);
    second->setGeometry(10, 60, 200, 30);
    overlay->show();
    first->setFocus();

    for (int press = 0; press < 6; ++press) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        EXPECT_TRUE(now == overlay || overlay->isAncestorOf(now)) << "press " << press;
    }
}

TEST_F(OverlayTest, everyShowRaisesItAboveWidgetsMadeSince)
{
    overlay->show();
    overlay->hide();
    auto* later = new QLabel(QStringLiteral("后来的"), &window);
    later->setGeometry(300, 200, 100, 30);
    later->show();
    EXPECT_EQ(window.childAt(later->geometry().center()), later);

    overlay->show();
    QWidget* top = window.childAt(later->geometry().center());
    EXPECT_TRUE(top == overlay || overlay->isAncestorOf(top));
    // Showing it again while it is up changes nothing.
    overlay->show();
    EXPECT_TRUE(overlay->isVisible());
}

TEST_F(OverlayTest, dimsTheWindowAndSaysItIsBusy)
{
    overlay->show();
    const QImage shot = window.grab().toImage();
    // Grey at alpha 180 over the white-ish window background.
    const QColor dimmed = shot.pixelColor(500, 350);
    EXPECT_NEAR(dimmed.red(), dimmed.blue(), 2);
    EXPECT_LT(dimmed.red(), 200);
    EXPECT_GT(dimmed.red(), 140);
    auto* text = overlay->findChild<QLabel*>();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("正在处理, 请稍后..."));
    EXPECT_EQ(text->geometry().center(), overlay->rect().center());
}
