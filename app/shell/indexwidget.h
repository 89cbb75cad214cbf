#pragma once

#include <QWidget>

namespace Ui {
struct IndexWidget;
}

// The start page: a logo and one line that invites the operator to create
// or import a card. Its two links report themselves as signals; the main
// window runs the same commands as for its header buttons.
class IndexWidget : public QWidget
{
    Q_OBJECT

public:
    explicit IndexWidget(QWidget* parent = nullptr);
    ~IndexWidget() override;

signals:
    void newProject();
    void importProject();

public slots:
    // "new" and "import" are the hrefs of the two links; anything else is ignored.
    void onLinkActivated(const QString& link);

private:
    Ui::IndexWidget* ui;
};
