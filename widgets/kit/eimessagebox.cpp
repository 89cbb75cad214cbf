#include "widgets/kit/eimessagebox.h"

#include "widgets/kit/eititlebar.h"

#include <QPixmap>
#include <QPointer>

EIMessageBox::EIMessageBox(QWidget* parent) : EIDialog(parent)
{
    form.setupUi(this);
    titleBar()->setWindowButtons(0);
    titleBar()->setRoundClose(true);
    addContentWidget(form.centerFrame);
    setIconHidden(true);
    setMovable(false);
}

EIMessageBox::~EIMessageBox() = default;

int EIMessageBox::showMessage(QWidget* parent, const QString& title, const QString& text, int kind, int buttons,
                              bool modal, const QString& extraText)
{
    auto* box = new EIMessageBox(parent);
    box->setTitle(title);
    box->setText(text);
    box->setIcon(kind);
    box->setButtons(buttons);
    if (!extraText.isEmpty())
        box->setButtonTexts(extraText, QString());
    if (!modal) {
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->show();
        return -1;
    }
    // Freed as soon as it is answered rather than with its parent, which
    // (the busy overlay) lives as long as the program.
    QPointer<EIMessageBox> guard(box);
    const int code = box->exec();
    delete guard.data();
    return code;
}

int EIMessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    return showMessage(parent, title, text, Information, 0, true, QString());
}

int EIMessageBox::question(QWidget* parent, const QString& title, const QString& text, const QString& extraText)
{
    return showMessage(parent, title, text, Question, 0, true, extraText);
}

int EIMessageBox::warning(QWidget* parent, const QString& title, const QString& text, int buttons,
                          const QString& extraText)
{
    return showMessage(parent, title, text, Warning, buttons, true, extraText);
}

void EIMessageBox::setText(const QString& text)
{
    form.messageContent->setText(text);
}

void EIMessageBox::setIcon(int kind)
{
    static const char* const images[] = {
        ":/Resources/EIMessageBox/information.png",
        ":/Resources/EIMessageBox/question.png",
        ":/Resources/EIMessageBox/warnning.png",
    };
    if (kind < Information || kind > Warning)
        return;
    form.messageIcon->setPixmap(QPixmap(QString::fromLatin1(images[kind])));
}

void EIMessageBox::setIconHidden(bool hidden)
{
    form.messageIcon->setHidden(hidden);
    if (hidden)
        form.iconSpacer->changeSize(1, 32, QSizePolicy::Minimum, QSizePolicy::Minimum);
    else
        form.iconSpacer->changeSize(13, 20, QSizePolicy::Fixed, QSizePolicy::Minimum);
    form.horizontalLayout->invalidate();
}
