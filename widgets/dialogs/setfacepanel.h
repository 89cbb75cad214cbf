#pragma once

#include <QPushButton>
#include <QVector>
#include <QWidget>

class QGridLayout;

namespace Ui {
struct SetFacePanel;
}

// One page button of the face panel; it knows which paper and face it stands for.
class SetButton : public QPushButton
{
    Q_OBJECT

public:
    explicit SetButton(const QString& text, QWidget* parent = nullptr);

    int paperIdx = 0;
    int face = 0;   // EPageFace

signals:
    void selected(int paperIdx, int face);
};

// The floating panel with which the operator says which paper and face the
// image on screen is: "将当前页设为" and one button per page, two per row.
class SetFacePanel : public QWidget
{
    Q_OBJECT

public:
    explicit SetFacePanel(QWidget* parent = nullptr);
    ~SetFacePanel() override;

    // Rebuilds the page buttons for pageCount pages (paper i / 2, face i % 2).
    void createButtons(int pageCount);
    const QVector<SetButton*>& pageButtons() const { return buttons; }

signals:
    void setPage(int paperIdx, int face);

private:
    Ui::SetFacePanel* ui;
    QGridLayout* grid;
    QVector<SetButton*> buttons;
};
