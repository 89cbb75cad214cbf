#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/dialogs/setfacepanel.h"

#include <QGridLayout>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

// The text of the widget in a cell of the panel's grid, or empty.
QString cellText(const SetFacePanel& panel, int row, int column)
{
    auto* grid = qobject_cast<QGridLayout*>(panel.layout());
    QLayoutItem* item = grid ? grid->itemAtPosition(row, column) : nullptr;
    if (!item || !item->widget())
        return QString();
    if (auto* button = qobject_cast<QPushButton*>(item->widget()))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(item->widget()))
        return label->text();
    return QString();
}

} // namespace

TEST(SetFacePanel, laysOutTwoPagesPerRowAndSizesToTheRows)
{
    SetFacePanel panel;
    struct Case
    {
        int pages;
        QStringList texts;
        QSize size;
    };
    const QList<Case> cases = {
        {3, {"第1张正面", "第1张反面", "第2张正面"}, QSize(260, 66)},
        {4, {"第1张正面", "第1张反面", "第2张正面", "第2张反面"}, QSize(260, 66)},
        {1, {"第1张正面"}, QSize(260, 33)},
        {0, {}, QSize(260, 33)},
        {4, {"第1张正面", "第1张反面", "第2张正面", "第2张反面"}, QSize(260, 66)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pages);
        panel.createButtons(c.pages);
        QStringList texts;
        for (SetButton* button : panel.pageButtons())
            texts.append(button->text());
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(panel.findChildren<SetButton*>().size(), c.pages) << "old buttons left behind";
        EXPECT_EQ(panel.minimumSize(), c.size);
        EXPECT_EQ(panel.maximumSize(), c.size);
        EXPECT_EQ(cellText(panel, 0, 0), QStringLiteral("将当前页设为"));
        for (int i = 0; i < c.pages; ++i)
            EXPECT_EQ(cellText(panel, i / 2, i % 2 + 1), c.texts[i]);
    }
}

TEST(SetFacePanel, clickOnAPageButtonNamesItsPaperAndFace)
{
    testsupport::Watchdog watchdog;
    SetFacePanel panel;
    panel.createButtons(4);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy spy(&panel, &SetFacePanel::setPage);

    kittest::click(panel.pageButtons().at(3));
    kittest::click(panel.pageButtons().at(0));
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0), QVariantList({1, 1}));
    EXPECT_EQ(spy.at(1), QVariantList({0, 0}));
}
