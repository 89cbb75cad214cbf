#pragma once

// Pieces shared by the property dialogs' forms: controls placed at a fixed
// spot over the dialog base's content area, and the look of their fields.

#include <QLabel>
#include <QRect>
#include <QString>
#include <QWidget>

namespace Ui {

template <typename T>
T* place(QWidget* parent, const char* name, const QRect& geometry)
{
    T* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

// The style of a form's field label.
inline const char* const fieldLabelStyle = "font-size:14px;\nfont-family:Microsoft YaHei;\ncolor:rgba(102,102,102,1);";

inline QLabel* fieldLabel(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* label = place<QLabel>(parent, name, geometry);
    label->setStyleSheet(QString::fromUtf8(fieldLabelStyle));
    return label;
}

// Grey 14-pixel labels, white combo boxes with the arrow image, spin boxes
// and check boxes in the kit's look. Appended to the dialog's own sheet.
QString propertyFormStyle();

} // namespace Ui
