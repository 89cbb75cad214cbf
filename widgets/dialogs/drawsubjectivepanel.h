#pragma once

#include "widgets/kit/eidialog.h"

namespace Ui {
struct DrawSubjectivePanel;
}

// What the subjective questions dialog gives back.
struct SubjectiveProperties
{
    int type = 3;           // question-type code, 3 to 6
    int start = 1;
    int end = 1;
    bool optional = false;  // a set of optional questions (选做题)
};

// "主观题属性": type and question numbers of a framed block of written
// answers and, for answer questions only, whether it is an optional set.
// OK stays open with a red tip while the numbers are wrong or an optional
// set is larger than five questions.
class DrawSubjectivePanel : public EIDialog
{
    Q_OBJECT

public:
    explicit DrawSubjectivePanel(QWidget* parent = nullptr);
    ~DrawSubjectivePanel() override;

    // The optional flag of the values is not shown.
    void setProperties(const SubjectiveProperties& values);
    // The optional flag is set only when "选做题" is checked and shown: a
    // box checked under "解答题" and then hidden by another type does not
    // make that type optional.
    SubjectiveProperties properties() const;

    void doOk() override;

public slots:
    void onTypeChanged(int index);
    void onSubjectSizechanged(int val);
    void onBoxEnd(int val);

private:
    void connectSignals();
    bool isOptionalChosen() const;
    void showTip(const QString& text);

    Ui::DrawSubjectivePanel* form;
    int maxOptionalQuestions;
};
