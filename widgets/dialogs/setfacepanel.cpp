#include "widgets/dialogs/setfacepanel.h"

#include "widgets/kit/eilabel.h"

#include <QCoreApplication>
#include <QGridLayout>

namespace Ui {

// The panel's form only styles it; the grid is built in code.
struct SetFacePanel
{
    void setupUi(QWidget* panel)
    {
        if (panel->objectName().isEmpty())
            panel->setObjectName(QStringLiteral("SetFacePanel"));
        panel->resize(400, 300);
        panel->setStyleSheet(QStringLiteral("QPushButton{\n"
                                            "   width:90px;\n"
                                            "   height:30px;\n"
                                            "   background-color:#3E92CF;\n"
                                            "   border-radius:4px;\n"
                                            "   font-family:Microsoft YaHei;\n"
                                            "   font-size:14px;\n"
                                            "   color:white;\n"
                                            "}\n"
                                            "QPushButton:pressed{\n"
                                            "    padding-top:2px;\n"
                                            "    background:#155D91;\n"
                                            "}\n"
                                            "QPushButton:hover{\n"
                                            "     background:#2491E0;\n"
                                            "}"));
        retranslateUi(panel);
    }

    void retranslateUi(QWidget* panel)
    {
        panel->setWindowTitle(QCoreApplication::translate("SetFacePanel", "SetFacePanel"));
    }
};

} // namespace Ui

namespace {
constexpr int buttonWidth = 77;
constexpr int buttonHeight = 30;
constexpr int columnWidth = 130;
constexpr int rowHeight = 33;
} // namespace

SetButton::SetButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    // The members are read at the click, so later changes count.
    connect(this, &QPushButton::clicked, this, [this] { emit selected(paperIdx, face); });
}

SetFacePanel::SetFacePanel(QWidget* parent) : QWidget(parent), ui(new Ui::SetFacePanel)
{
    ui->setupUi(this);
    grid = new QGridLayout(this);
    grid->setContentsMargins(1, 0, 1, 0);

    auto* label = new EILabel(QStringLiteral("将当前页设为"));
    label->adjustSize();
    label->setMessageStyle();
    grid->addWidget(label, 0, 0);

    createButtons(3);
}

SetFacePanel::~SetFacePanel()
{
    delete ui;
}

void SetFacePanel::createButtons(int pageCount)
{
    for (SetButton* button : qAsConst(buttons)) {
        grid->removeWidget(button);
        delete button;
    }
    buttons.clear();

    for (int i = 0; i < pageCount; ++i) {
        const int paper = i / 2;
        const int face = i % 2;
        const QString text = QStringLiteral("第%1张%2")
                                 .arg(paper + 1)
                                 .arg(face == 0 ? QStringLiteral("正面") : QStringLiteral("反面"));
        auto* button = new SetButton(text);
        buttons.append(button);
        button->setFixedSize(buttonWidth, buttonHeight);
        button->paperIdx = paper;
        button->face = face;
        grid->addWidget(button, paper, face + 1);
        connect(button, &SetButton::selected, this, &SetFacePanel::setPage);
    }

    int rows = static_cast<int>(pageCount / 2.0 + 0.5);
    if (rows <= 0)
        rows = 1;
    const int columns = 2;
    setFixedSize(columns * columnWidth, rows * rowHeight);
}
