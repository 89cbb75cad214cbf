#pragma once

#include <QLabel>

// A label in the kit's grey text; setMessageStyle turns it into the red tip
// line with which a dialog answers a bad value.
class EILabel : public QLabel
{
    Q_OBJECT

public:
    explicit EILabel(QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());
    explicit EILabel(const QString& text, QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::WindowFlags());

    void setMessageStyle();

private:
    void applyKitStyle();
};
