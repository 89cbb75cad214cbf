#pragma once

#include "widgets/kit/eidialog.h"
#include "widgets/kit/ui_eimessagebox.h"

// Every message of the program: a title, a text and the buttons of
// EIDialog::setButtons. The kind (0 information, 1 question, 2 warning)
// picks an icon that stays hidden. The static shortcuts return the
// EIDialog result code.
class EIMessageBox : public EIDialog
{
    Q_OBJECT

public:
    enum Kind { Information = 0, Question = 1, Warning = 2 };

    explicit EIMessageBox(QWidget* parent = nullptr);
    ~EIMessageBox() override;

    // Modal: the exec() result. Not modal: the box stays up and −1 comes back.
    static int showMessage(QWidget* parent, const QString& title, const QString& text, int kind, int buttons,
                           bool modal, const QString& extraText);
    // One "确定" button.
    static int information(QWidget* parent, const QString& title, const QString& text);
    // One button, "确定" or extraText when that is not empty.
    static int question(QWidget* parent, const QString& title, const QString& text,
                        const QString& extraText = QString());
    // The caller's button set; the one used for yes/no and OK/cancel questions.
    static int warning(QWidget* parent, const QString& title, const QString& text, int buttons,
                       const QString& extraText = QString());

    void setText(const QString& text);
    void setIcon(int kind);
    void setIconHidden(bool hidden);

private:
    Ui::EIMessageBox form;
};
