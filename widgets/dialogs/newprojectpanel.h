#pragma once

#include "widgets/kit/eidialog.h"

namespace Ui {
struct NewProjectPanel;
}

// "新建第三方答题卡": card name, placement, papers, faces, absent marks and
// red card. It validates nothing itself: the caller asks about the name
// and may run exec() again with the entries kept.
class NewProjectPanel : public EIDialog
{
    Q_OBJECT

public:
    explicit NewProjectPanel(QWidget* parent = nullptr);
    ~NewProjectPanel() override;

    QString cardName() const;
    // What is wrong with the name as typed, in the words the operator is
    // shown, or an empty text.
    QString cardNameFault() const;
    int paperCount() const;
    // The number of page images the operator will supply.
    int pageCount() const;
    QString orientation() const;   // "horizontal" or "vertical"
    int absentMarkCount() const;
    bool isDoubleSided() const;
    bool isRedCard() const;

    void showAbsentMarkOptions(bool show);

public slots:
    void onPaperNumChanged(int index);

private:
    Ui::NewProjectPanel* form;
};
