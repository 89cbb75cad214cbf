#pragma once

#include "widgets/kit/eidialog.h"

#include <QStringList>

namespace Ui {
struct ScanPanel;
}

// "扫描第三方答题卡": the operator picks the scanner to scan with. It only
// shows the names it is given, in their order; the caller maps the choice
// back to its scanner.
class ScanPanel : public EIDialog
{
    Q_OBJECT

public:
    ScanPanel(QWidget* parent, const QStringList& sourceNames);
    ~ScanPanel() override;

    // The chosen name, empty when there was none to choose.
    QString currentScanner() const;
    // Its place in the given list, -1 when there was none.
    int currentIndex() const;

private:
    Ui::ScanPanel* form;
};
