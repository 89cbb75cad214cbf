#pragma once

#include <QWidget>

class QHBoxLayout;
class QPropertyAnimation;
class QPushButton;

// The small menu that floats over the selected framing item with "删除"
// and, for items with an option grid, "编辑". It fades in each time it is
// shown. It is a child of the canvas view, not a window of its own.
class EditMenu : public QWidget
{
    Q_OBJECT
public:
    // What the menu offers (the scene's updateMenu values).
    enum Mode { EditAndDelete = 0, DeleteOnly = 2 };

    explicit EditMenu(QWidget* parent = nullptr);

    void setMode(int mode);

signals:
    void deleteItem();
    void editeItem();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void setupUi();
    void retranslateUi();

    QHBoxLayout* horizontalLayout = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnEdit = nullptr;
    QPropertyAnimation* fadeIn = nullptr;
};
