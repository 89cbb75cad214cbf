#pragma once

#include <QFrame>

namespace Ui {
struct GetTemplatePanel;
}

// The page of step 0: the blank sheet comes in by scanning or as image
// files. It only turns its two buttons into signals.
class GetTemplatePanel : public QFrame
{
    Q_OBJECT

public:
    explicit GetTemplatePanel(QWidget* parent = nullptr);
    ~GetTemplatePanel() override;

signals:
    void scanImage();
    void importImage();

private:
    Ui::GetTemplatePanel* ui;
};
