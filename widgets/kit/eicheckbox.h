#pragma once

#include <QCheckBox>

// The kit's check box. Every click is reported with the box's own text, so
// one listener can serve many boxes without a map of them; a state set by
// program (setChecked) is not reported.
class EICheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit EICheckBox(QString text, QWidget* parent = nullptr);

signals:
    void stateChanged(QString val, bool state);

private:
    void reportClick();
};
