#pragma once

#include <QSpinBox>

// The kit's spin box, with the kit's arrow images and borders.
class EISpainBox : public QSpinBox
{
    Q_OBJECT

public:
    explicit EISpainBox(QWidget* parent = nullptr);
};
