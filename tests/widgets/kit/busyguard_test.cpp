#include "tests/widgets/kittest.h"

#include "widgets/kit/busyguard.h"
#include "widgets/kit/maskform.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A window that lays an overlay over itself, as the main window does.
class OverlayWindow : public QWidget, public BusyOverlayHost
{
public:
    OverlayWindow() : overlay(new MaskForm(this)) { overlay->hide(); }

    QWidget* messageParent() override
    {
        overlay->setGeometry(rect());
        overlay->show();
        return overlay;
    }
    void closeFloatingPanel() override { overlay->close(); }

    bool overlayUp() const { return overlay->isVisible(); }

    MaskForm* overlay;
};

class BusyGuardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(400, 300);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A command that shows a message and leaves by the way asked for.
    enum Exit { AtTheEnd, EarlyReturn, Exception };
    void command(Exit exit)
    {
        BusyGuard busy(&window);
        messageParents.append(busy.parent());
        upDuringCommand = window.overlayUp();
        if (exit == EarlyReturn)
            return;
        if (exit == Exception)
            throw std::runtime_error("disk full");
    }

    OverlayWindow window;
    QList<QWidget*> messageParents;
    bool upDuringCommand = false;
};

} // namespace

TEST_F(BusyGuardTest, closesTheOverlayOnEveryWayOutOfACommand)
{
    for (Exit exit : {AtTheEnd, EarlyReturn, Exception}) {
        upDuringCommand = false;
        try {
            command(exit);
        } catch (const std::runtime_error&) {
            EXPECT_EQ(exit, Exception);
        }
        EXPECT_TRUE(upDuringCommand) << "exit " << exit;
        EXPECT_FALSE(window.overlayUp()) << "exit " << exit;
    }
    EXPECT_EQ(messageParents, QList<QWidget*>({window.overlay, window.overlay, window.overlay}));

    // A command run inside another closes the overlay; the outer one's next
    // message raises it again, and its end closes it.
    {
        BusyGuard outer(&window);
        command(AtTheEnd);
        EXPECT_FALSE(window.overlayUp());
        EXPECT_EQ(outer.parent(), window.overlay);
        EXPECT_TRUE(window.overlayUp());
    }
    EXPECT_FALSE(window.overlayUp());
}

TEST_F(BusyGuardTest, aHandedOverOverlayStaysUpUntilItsTakerEnds)
{
    {
        BusyGuard command(&window);
        command.handOver();
    }
    EXPECT_TRUE(window.overlayUp());
    {
        BusyGuard answer(&window, BusyGuard::TakeOver);
        EXPECT_TRUE(window.overlayUp());
    }
    EXPECT_FALSE(window.overlayUp());

    // Taking over raises nothing by itself.
    {
        BusyGuard check(&window, BusyGuard::TakeOver);
        EXPECT_FALSE(window.overlayUp());
    }
    EXPECT_FALSE(window.overlayUp());

    // Without a host there is no overlay: dialogs become top-level windows.
    BusyGuard alone(nullptr);
    EXPECT_EQ(alone.parent(), nullptr);
    alone.close();
}
