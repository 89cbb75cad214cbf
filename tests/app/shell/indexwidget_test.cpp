#include "tests/app/apptest.h"

#include "app/shell/indexwidget.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {

class StartPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        page.resize(683, 526);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        label = page.findChild<QLabel*>(QStringLiteral("label"));
        ASSERT_NE(label, nullptr);
    }

    // Where on the label the pointer is over the link `href`: found by moving
    // the pointer along the text line as a user would, watching the hover.
    QPoint linkPosition(const QString& href)
    {
        QPoint found;
        const auto hovered = QObject::connect(label, &QLabel::linkHovered, [&](const QString& link) {
            if (link == href && found.isNull())
                found = currentPoint;
        });
        const int y = label->height() / 2;
        for (int x = 0; x < label->width() && found.isNull(); x += 2) {
            currentPoint = QPoint(x, y);
            QTest::mouseMove(label, currentPoint);
        }
        QObject::disconnect(hovered);
        // A few pixels further in, so the click lands inside the word.
        return found.isNull() ? found : found + QPoint(4, 0);
    }

    IndexWidget page;
    QLabel* label = nullptr;
    QPoint currentPoint;
};

} // namespace

TEST_F(StartPageTest, clickingEachLinkEmitsItsOwnSignalOnce)
{
    QSignalSpy newProject(&page, &IndexWidget::newProject);
    QSignalSpy importProject(&page, &IndexWidget::importProject);

    const QPoint newLink = linkPosition(QStringLiteral("new"));
    ASSERT_FALSE(newLink.isNull());
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, newLink);
    EXPECT_EQ(newProject.count(), 1);
    EXPECT_EQ(importProject.count(), 0);

    const QPoint importLink = linkPosition(QStringLiteral("import"));
    ASSERT_FALSE(importLink.isNull());
    EXPECT_GT(importLink.x(), newLink.x());
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, importLink);
    EXPECT_EQ(newProject.count(), 1);
    EXPECT_EQ(importProject.count(), 1);
}

TEST_F(StartPageTest, theTextAroundTheLinksAndOtherLinksDoNothing)
{
    QSignalSpy newProject(&page, &IndexWidget::newProject);
    QSignalSpy importProject(&page, &IndexWidget::importProject);

    // The start of the line is plain text.
    const QPoint newLink = linkPosition(QStringLiteral("new"));
    ASSERT_GT(newLink.x(), 20);
    QTest::mouseClick(label, Qt::LeftButton, Qt::NoModifier, QPoint(newLink.x() - 20, label->height() / 2));

    for (const QString& link : {QStringLiteral("New"), QStringLiteral("new "), QStringLiteral("importProject"),
                                QStringLiteral("http://example.org/"), QString()})
        page.onLinkActivated(link);

    EXPECT_EQ(newProject.count(), 0);
    EXPECT_EQ(importProject.count(), 0);
}
