#pragma once

#include "model/subarea.h"
#include "widgets/kit/eidialog.h"

namespace Ui {
struct DrawObjectivePanel;
}

// "客观题属性": type, arrangement, first and last question number and the
// options per question of a framed block of choice questions. OK stays
// open with a red tip while the numbers or the judge type's two options do
// not add up; the limits on size are the caller's.
class DrawObjectivePanel : public EIDialog
{
    Q_OBJECT

public:
    explicit DrawObjectivePanel(QWidget* parent = nullptr);
    ~DrawObjectivePanel() override;

    // Prefills from a block: its own numbers (sameNumbers) or the numbers
    // that follow it. `rows` is read as the question count and `count` as
    // the option count whatever the block's orientation, so a caller that
    // holds a vertical block (which properties() gives with the two
    // swapped) swaps them back first.
    void setProperties(const SubArea& block, bool sameNumbers);
    // What an image check found wins over the prefill.
    void setCounts(int questionCount, int optionCount);

    // The block described, with rows = questions and count = options for a
    // horizontal block and the other way round for a vertical one.
    SubArea properties() const;

    void doOk() override;

public slots:
    void onSubjectSizechanged(int val);
    void onBoxEnd(int val);
    void onTypeChanged(int index);

private:
    void connectSignals();
    void showTip(const QString& text);

    Ui::DrawObjectivePanel* form;
};
