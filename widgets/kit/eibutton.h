#pragma once

#include <QByteArray>
#include <QPushButton>

// The kit's push button (the main window's step buttons). Its look switches
// between the normal image and the "passed" image of a finished step.
class EIButton : public QPushButton
{
    Q_OBJECT

public:
    explicit EIButton(QWidget* parent = nullptr);

    void setDefaultStyle();
    void setPassedStyle();

private:
    QByteArray styleText;
};
