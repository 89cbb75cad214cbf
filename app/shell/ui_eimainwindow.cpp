#include "app/shell/ui_eimainwindow.h"

namespace Ui {

namespace {

const char* const centralStyle =
    "QWidget#centralWidget{background-color:white;}"
    "*{font-family:Microsoft YaHei;}"
    "QPushButton#themeBtn{width:90px;height:30px;"
    "background-color:rgba(81,167,230,1);border-radius:4px;font-size:14px;color:white;}"
    "QPushButton#themeBtn:pressed{background-color:#155D91;}"
    "QPushButton#themeBtn:hover{background-color:#2491E0;}";

const char* const headerStyle =
    "QFrame#headerFrame{background-color:rgba(248,248,248,1);border:none;"
    "border-bottom:1px solid rgba(177,177,177,1);}";

// The step buttons overlap by 14 pixels: their images carry a transparent margin.
constexpr int stepButtonTops[] = {-2, 40, 80, 120, 160, 200, 240, 280};

::EIButton* stepButton(QWidget* column, const char* name, int step)
{
    auto* button = new ::EIButton(column);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(QRect(-1, stepButtonTops[step], 132, 54));
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setEnabled(false);
    return button;
}

QPushButton* headerButton(QWidget* header, const char* name)
{
    auto* button = new QPushButton(header);
    button->setObjectName(QLatin1String(name));
    button->setMinimumSize(QSize(90, 30));
    return button;
}

} // namespace

void EIMainWindowClass::setupUi(QMainWindow* window)
{
    if (window->objectName().isEmpty())
        window->setObjectName(QStringLiteral("EIMainWindowClass"));
    window->resize(1309, 710);
    window->setMinimumSize(QSize(1309, 710));

    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("centralWidget"));
    centralWidget->setStyleSheet(QLatin1String(centralStyle));
    verticalLayout = new QVBoxLayout(centralWidget);
    verticalLayout->setSpacing(0);
    verticalLayout->setContentsMargins(0, 0, 0, 0);

    titlebar = new ::EITitleBar(centralWidget);
    titlebar->setObjectName(QStringLiteral("titlebar"));
    titlebar->setFixedHeight(45);
    verticalLayout->addWidget(titlebar);

    bodyWidget = new QWidget(centralWidget);
    bodyWidget->setObjectName(QStringLiteral("bodyWidget"));
    bodyLayout = new QVBoxLayout(bodyWidget);
    bodyLayout->setSpacing(0);
    bodyLayout->setContentsMargins(0, 0, 0, 0);

    headerFrame = new QFrame(bodyWidget);
    headerFrame->setObjectName(QStringLiteral("headerFrame"));
    headerFrame->setFixedHeight(55);
    headerFrame->setMinimumWidth(1184);
    headerFrame->setStyleSheet(QLatin1String(headerStyle));
    headerLayout = new QHBoxLayout(headerFrame);
    headerLayout->setSpacing(6);
    headerLayout->setContentsMargins(0, 0, 0, 0);
    headerLayout->addSpacing(48);
    btnNewProject = headerButton(headerFrame, "btnNewProject");
    headerLayout->addWidget(btnNewProject);
    headerLayout->addSpacing(15);
    btnImportProject = headerButton(headerFrame, "btnImportProject");
    headerLayout->addWidget(btnImportProject);
    headerLayout->addStretch();
    labelPaperName = new QLabel(headerFrame);
    labelPaperName->setObjectName(QStringLiteral("labelPaperName"));
    labelPaperName->setStyleSheet(QStringLiteral("font-size:16px;color:rgba(68,68,68,1);"));
    headerLayout->addWidget(labelPaperName);
    headerLayout->addStretch();
    bodyLayout->addWidget(headerFrame);

    contentLayout = new QHBoxLayout();
    contentLayout->setSpacing(0);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    titleFrame = new QFrame(bodyWidget);
    titleFrame->setObjectName(QStringLiteral("titleFrame"));
    titleFrame->setFixedWidth(129);
    btnGetTemplate = stepButton(titleFrame, "btnGetTemplate", 0);
    btnDrawLines = stepButton(titleFrame, "btnDrawLines", 1);
    btnDrawTitle = stepButton(titleFrame, "btnDrawTitle", 2);
    btnDrawStuNo = stepButton(titleFrame, "btnDrawStuNo", 3);
    btnDrawObjective = stepButton(titleFrame, "btnDrawObjective", 4);
    btnDrawSubjective = stepButton(titleFrame, "btnDrawSubjective", 5);
    btnDrawPageNum = stepButton(titleFrame, "btnDrawPageNum", 6);
    btnDrawMarkers = stepButton(titleFrame, "btnDrawMarkers", 7);
    btnDrawMarkers->setMinimumSize(QSize(129, 45));
    frame = new QFrame(titleFrame);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setGeometry(QRect(50, 325, 21, 21));
    contentLayout->addWidget(titleFrame);

    stackedWidget = new QStackedWidget(bodyWidget);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    stackedWidget->setMinimumWidth(950);
    stackedWidget->setStyleSheet(QStringLiteral(
        "QStackedWidget#stackedWidget{border:1px solid rgba(177,177,177,1);border-top:none;}"));
    contentLayout->addWidget(stackedWidget, 1);
    bodyLayout->addLayout(contentLayout, 1);

    verticalLayout->addWidget(bodyWidget, 1);
    window->setCentralWidget(centralWidget);

    retranslateUi(window);
}

void EIMainWindowClass::retranslateUi(QMainWindow* window)
{
    window->setWindowTitle(QStringLiteral("Velmora第三方卡制作工具客户端"));
    btnNewProject->setText(QStringLiteral("新建"));
    btnImportProject->setText(QStringLiteral("导入"));
    btnGetTemplate->setText(QStringLiteral("1 - 获取模板"));
    btnDrawLines->setText(QStringLiteral("2 - 框选线段"));
    btnDrawTitle->setText(QStringLiteral("3 - 框选文字标题"));
    btnDrawStuNo->setText(QStringLiteral("4 - 框选考号信息"));
    btnDrawObjective->setText(QStringLiteral("5 - 框选客观题"));
    btnDrawSubjective->setText(QStringLiteral("6 - 框选主观题"));
    btnDrawPageNum->setText(QStringLiteral("7 - 框选页码"));
    btnDrawMarkers->setText(QStringLiteral("8 - 框选其他标记"));
}

} // namespace Ui
