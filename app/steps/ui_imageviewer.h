#pragma once

// The page viewer's form, laid out as the designer form it was drawn in:
// the step tip and the step's switches on top, the canvas between the two
// page buttons, the step's commands below.

#include "canvas/eigraphicsview.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QVBoxLayout>

namespace Ui {

struct ImageViewer
{
    QVBoxLayout* verticalLayout = nullptr;
    QHBoxLayout* topLayout = nullptr;
    QLabel* labelTips = nullptr;
    QPushButton* btnStuNum = nullptr;
    QPushButton* btnStuBarCode = nullptr;
    QPushButton* btnAbsent = nullptr;
    QPushButton* btnRotate = nullptr;
    QPushButton* btnSetFront = nullptr;
    // Its width leaves room for the floating face panel (70) or not (150).
    QSpacerItem* faceSpacer = nullptr;
    QPushButton* btnOptionalAssociate = nullptr;
    QHBoxLayout* middleLayout = nullptr;
    QPushButton* btnPrevious = nullptr;
    QLabel* label = nullptr;
    EIGraphicsView* graphicsView = nullptr;
    QPushButton* btnNext = nullptr;
    QLabel* label_2 = nullptr;
    QHBoxLayout* bottomLayout = nullptr;
    // 1 wide on the last step, where the save button leads the row; 105 otherwise.
    QSpacerItem* saveSpacer = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnSkip = nullptr;
    QPushButton* btnDrawNext = nullptr;
    QPushButton* btnNextStep = nullptr;

    void setupUi(QFrame* viewer);
    void retranslateUi(QFrame* viewer);
};

} // namespace Ui
