#pragma once

// A shown window for the property dialogs to live in, as they live on the
// busy overlay, and the looks at a dialog that their tests share.

#include "tests/support/testsupport.h"
#include "tests/widgets/kittest.h"

#include "widgets/kit/eimessagebox.h"
#include "widgets/kit/eititlebar.h"

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

#include <gtest/gtest.h>

namespace dialogtest {

class DialogHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(1000, 700);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    testsupport::Watchdog watchdog;
    QWidget window;
};

template <typename T>
T* child(const QWidget* dialog, const char* name)
{
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    EXPECT_TRUE(found) << name;
    return found;
}

inline QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemText(i));
    return texts;
}

inline void expectRange(const QSpinBox* box, int minimum, int maximum, int value)
{
    EXPECT_EQ(QList<int>({box->minimum(), box->maximum(), box->value()}), QList<int>({minimum, maximum, value}))
        << box->objectName().toStdString();
}

inline QString title(const EIDialog& dialog)
{
    return dialog.titleBar()->titleLabel()->text();
}

inline void pressOk(const QWidget* dialog)
{
    kittest::click(kittest::dialogButtons(dialog).value(0));
}

// The red tip line as the operator sees it: empty while hidden.
inline QString shownTip(const QWidget* dialog)
{
    const auto* tip = dialog->findChild<QLabel*>(QStringLiteral("infoLabel"));
    if (!tip || !tip->isVisible())
        return QString();
    EXPECT_EQ(tip->palette().color(QPalette::WindowText), QColor(Qt::red));
    return tip->text();
}

// The last OK of a run: a dialog that stays open fails the test instead of
// leaving exec waiting for the watchdog.
inline void finishWithOk(EIDialog& dialog)
{
    pressOk(&dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "OK refused: " << shownTip(&dialog).toStdString();
        dialog.doCancel();
    }
}

// Answers the next message box under `parent` with its first button and
// keeps its text.
inline void answerMessage(QWidget* parent, QString& text)
{
    testsupport::later(0, [parent, &text] {
        auto* box = kittest::visibleChild<EIMessageBox>(parent);
        ASSERT_TRUE(box) << "no message box shown";
        text = box->findChild<QLabel*>(QStringLiteral("messageContent"))->text();
        kittest::click(kittest::dialogButtons(box).value(0));
    });
}

} // namespace dialogtest
