#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/kit/eititlebar.h"
#include "widgets/dialogs/newprojectpanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

#include <gtest/gtest.h>

using testsupport::later;

namespace {

// Chinese text arrives through the input method as a committed string.
void typeText(QWidget* widget, const QString& text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(widget, &event);
}

class NewProjectPanelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(1000, 700);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <typename T>
    T* child(const char* name)
    {
        T* found = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }

    QStringList items(QComboBox* box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }

    testsupport::Watchdog watchdog;
    QWidget window;
    NewProjectPanel dialog{&window};
};

} // namespace

TEST_F(NewProjectPanelTest, opensWithOnePaperDoubleSidedAndTheAbsentMarkRowHidden)
{
    dialog.show();
    EXPECT_EQ(dialog.height(), 350);
    EXPECT_TRUE(dialog.cardName().isEmpty());
    EXPECT_EQ(child<QLineEdit>("inputCardName")->placeholderText(), QStringLiteral("请输入您要制作的答题卡名称"));
    EXPECT_EQ(dialog.orientation(), QStringLiteral("horizontal"));
    EXPECT_EQ(dialog.paperCount(), 1);
    EXPECT_EQ(dialog.pageCount(), 2);
    EXPECT_EQ(dialog.absentMarkCount(), 2);
    EXPECT_FALSE(dialog.isRedCard());
    EXPECT_FALSE(child<QComboBox>("boxAbsentMark")->isVisible());
    EXPECT_TRUE(child<QCheckBox>("checkDoublePage")->isVisible());
    EXPECT_EQ(dialog.titleBar()->titleLabel()->text(), QStringLiteral("新建第三方答题卡  "));

    // Built inside a parent, as on the busy overlay, the dialog's own style
    // still reaches its fields: 14-pixel labels and the pictured placement
    // buttons.
    EXPECT_EQ(child<QLabel>("label")->font().pixelSize(), 14);
    QPushButton* horizontal = child<QPushButton>("btnHorizontal");
    const QImage drawn = horizontal->grab().toImage();
    const QImage picture(QStringLiteral(":/Resources/Quindle/images/hchecked.png"));
    ASSERT_FALSE(picture.isNull());
    const QPoint middle(drawn.width() / 2, drawn.height() / 2);
    EXPECT_EQ(QColor(drawn.pixel(middle)).name(), QColor(picture.pixel(middle)).name());

    child<QCheckBox>("checkDoublePage")->setChecked(false);
    EXPECT_EQ(dialog.pageCount(), 1);
    kittest::click(child<QPushButton>("btnVertical"));
    EXPECT_EQ(dialog.orientation(), QStringLiteral("vertical"));
    kittest::click(child<QPushButton>("btnHorizontal"));
    EXPECT_EQ(dialog.orientation(), QStringLiteral("horizontal"));
}

TEST_F(NewProjectPanelTest, twoPapersOfferThreeOrFourFacesAndTheAbsentMarkChoice)
{
    dialog.show();
    auto* papers = child<QComboBox>("boxPaperNum");
    auto* faces = child<QComboBox>("boxPagesType");
    auto* absent = child<QComboBox>("boxAbsentMark");
    auto* redCardLabel = child<QLabel>("labelRedCard");

    papers->setCurrentIndex(1);
    EXPECT_EQ(items(faces), QStringList({"双张三面", "双张四面"}));
    EXPECT_EQ(faces->currentText(), QStringLiteral("双张四面"));
    EXPECT_TRUE(faces->isVisible());
    EXPECT_TRUE(absent->isVisible());
    EXPECT_EQ(redCardLabel->y(), 284);
    EXPECT_EQ(dialog.height(), 390);
    EXPECT_EQ(dialog.paperCount(), 2);
    EXPECT_EQ(dialog.pageCount(), 4);
    faces->setCurrentIndex(0);
    EXPECT_EQ(dialog.pageCount(), 3);
    absent->setCurrentIndex(1);
    EXPECT_EQ(dialog.absentMarkCount(), 1);

    papers->setCurrentIndex(0);
    EXPECT_EQ(dialog.height(), 350);
    EXPECT_FALSE(absent->isVisible());
    EXPECT_EQ(redCardLabel->y(), 247);
    EXPECT_EQ(child<QStackedWidget>("stackedPages")->currentIndex(), 0);
    EXPECT_EQ(dialog.pageCount(), 2);
}

TEST_F(NewProjectPanelTest, longNameStopsShortOfTheClearButton)
{
    dialog.show();
    auto* name = child<QLineEdit>("inputCardName");
    auto* clear = child<QPushButton>("clearBtn");
    name->setFocus();
    typeText(name, QStringLiteral("2024学年第一学期期末考试九年级数学答题卡A卷第二版"));
    name->end(false);
    name->clearFocus();  // no caret in the picture
    const QImage field = name->grab().toImage();
    int textRight = 0;
    for (int x = 0; x < field.width(); ++x)
        for (int y = 3; y < field.height() - 3; ++y)
            if (qGray(field.pixel(x, y)) < 140)
                textRight = x;
    ASSERT_GT(textRight, field.width() / 2) << "the name fills the field";
    EXPECT_LT(name->x() + textRight + 2, clear->x());
}

TEST_F(NewProjectPanelTest, enterAcceptsCloseButtonClosesAndClearButtonEmptiesTheName)
{
    auto* name = child<QLineEdit>("inputCardName");
    later(0, [&] {
        typeText(name, QStringLiteral("期中考试"));
        kittest::click(child<QPushButton>("clearBtn"));
        EXPECT_TRUE(name->text().isEmpty());
        typeText(name, QStringLiteral("卡1"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.cardName(), QStringLiteral("卡1"));

    later(0, [&] { kittest::click(kittest::visibleButtons(dialog.titleBar()).value(0)); });
    EXPECT_EQ(dialog.exec(), 3);
    // The entries survive a second run of the same dialog.
    EXPECT_EQ(dialog.cardName(), QStringLiteral("卡1"));
}
