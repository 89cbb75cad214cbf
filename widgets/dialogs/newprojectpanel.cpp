#include "widgets/dialogs/newprojectpanel.h"

#include "model/cardname.h"
#include "model/infra/constants.h"
#include "widgets/kit/eititlebar.h"
#include "widgets/dialogs/ui_newprojectpanel.h"

#include <QStyledItemDelegate>

namespace {
constexpr int shortHeight = 350;
constexpr int tallHeight = 390;
} // namespace

NewProjectPanel::NewProjectPanel(QWidget* parent) : EIDialog(parent), form(new Ui::NewProjectPanel)
{
    form->setupUi(this);

    setMovable(false);
    setTitle(QStringLiteral("新建第三方答题卡  "));

    // Without a delegate of its own a combo box's list ignores the style
    // sheet's item rules. Owned by the dialog so it outlives the boxes.
    auto* delegate = new QStyledItemDelegate(this);
    form->boxPaperNum->setItemDelegate(delegate);
    form->boxPagesType->setItemDelegate(delegate);
    form->boxAbsentMark->setItemDelegate(delegate);

    connect(form->inputCardName, &QLineEdit::returnPressed, this, [this] { doOk(); });
    connect(form->boxPaperNum, SIGNAL(currentIndexChanged(int)), this, SLOT(onPaperNumChanged(int)));
    connect(form->clearBtn, &QPushButton::clicked, form->inputCardName, &QLineEdit::clear);

    titleBar()->setRoundClose(true);
    showAbsentMarkOptions(false);
}

NewProjectPanel::~NewProjectPanel()
{
    delete form;
}

QString NewProjectPanel::cardName() const
{
    return form->inputCardName->text();
}

QString NewProjectPanel::cardNameFault() const
{
    return cardNameRetryMessage(cardName());
}

int NewProjectPanel::paperCount() const
{
    return form->boxPaperNum->currentText().toInt();
}

int NewProjectPanel::pageCount() const
{
    const int papers = paperCount();
    if (papers > 1) {
        const int index = form->boxPagesType->currentIndex();
        if (index == 0)
            return 2 * papers - 1;
        if (index == 1)
            return 2 * papers;
    }
    return isDoubleSided() ? papers * 2 : papers;
}

QString NewProjectPanel::orientation() const
{
    return form->btnHorizontal->isChecked() ? QStringLiteral("horizontal") : QStringLiteral("vertical");
}

int NewProjectPanel::absentMarkCount() const
{
    return form->boxAbsentMark->currentIndex() == 0 ? 2 : 1;
}

bool NewProjectPanel::isDoubleSided() const
{
    return form->checkDoublePage->isChecked();
}

bool NewProjectPanel::isRedCard() const
{
    return form->checkRedCard->isChecked();
}

void NewProjectPanel::showAbsentMarkOptions(bool show)
{
    form->boxAbsentMark->setVisible(show);
    form->labelAbentMark->setVisible(show);
    if (show) {
        form->labelRedCard->move(form->labelRedCard->x(), 284);
        form->checkRedCard->move(form->checkRedCard->x(), 286);
        setFixedHeight(tallHeight);
    } else {
        form->labelRedCard->move(form->labelRedCard->x(), 247);
        form->checkRedCard->move(form->checkRedCard->x(), 244);
        setFixedHeight(shortHeight);
    }
}

void NewProjectPanel::onPaperNumChanged(int index)
{
    showAbsentMarkOptions(index > 0);
    if (index <= 0) {
        form->stackedPages->setCurrentIndex(0);
        return;
    }
    const int papers = index + 1;
    // "双张三面": the numeral two reads 双 when it counts papers or faces.
    auto facesItem = [papers](int faces) {
        return QStringLiteral("%1张%2面")
            .arg(chineseNumeral(papers), chineseNumeral(faces))
            .replace(QStringLiteral("二"), QStringLiteral("双"));
    };
    form->boxPagesType->clear();
    form->boxPagesType->addItem(facesItem(2 * papers - 1));
    form->boxPagesType->addItem(facesItem(2 * papers));
    form->stackedPages->setCurrentIndex(1);
    form->boxPagesType->setCurrentIndex(form->boxPagesType->count() - 1);
}
