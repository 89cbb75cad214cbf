#pragma once

#include "model/gridarea.h"
#include "widgets/kit/eidialog.h"

namespace Ui {
struct DrawStuNoPanel;
}

// "准考证号属性": arrangement, length of the number and options per digit
// of a framed exam-number grid. The spin boxes bound every value, so OK
// always closes; the caller's limits on the grid apply afterwards.
class DrawStuNoPanel : public EIDialog
{
    Q_OBJECT

public:
    explicit DrawStuNoPanel(QWidget* parent = nullptr);
    ~DrawStuNoPanel() override;

    void setProperties(const TicketNum& record);
    // A counted length wins over the prefill; bounded to 3..15.
    void setNumberLength(int length);

    // A fresh record: direction, count (digits), rows (options per digit),
    // border type and line flag; frame, offsets and enabled flag are the
    // caller's.
    TicketNum properties() const;

private:
    Ui::DrawStuNoPanel* form;
};
