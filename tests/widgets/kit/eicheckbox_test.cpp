#include "tests/widgets/kittest.h"

#include "widgets/kit/eicheckbox.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

TEST(EICheckBoxTest, reportsEveryClickWithItsCurrentTextButNoStateSetByProgram)
{
    QWidget window;
    window.resize(200, 100);
    auto* box = new EICheckBox(QStringLiteral("12"), &window);
    box->setGeometry(10, 10, 60, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QSignalSpy spy(box, SIGNAL(stateChanged(QString, bool)));

    kittest::click(box);
    kittest::click(box);
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy[0], (QVariantList{QStringLiteral("12"), true}));
    EXPECT_EQ(spy[1], (QVariantList{QStringLiteral("12"), false}));

    box->setChecked(true);
    EXPECT_EQ(spy.size(), 2);
    box->setText(QStringLiteral("13"));
    box->click();
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy[2], (QVariantList{QStringLiteral("13"), false}));

    box->setEnabled(false);
    kittest::click(box);
    box->click();
    EXPECT_EQ(spy.size(), 3);

    // It carries the kit's look itself: 18-pixel indicator, grey 14-pixel text.
    EXPECT_TRUE(box->styleSheet().contains(QStringLiteral("QCheckBox::indicator")));
    EXPECT_EQ(box->font().pixelSize(), 14);
}
