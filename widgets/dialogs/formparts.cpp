#include "widgets/dialogs/formparts.h"

namespace Ui {

QString propertyFormStyle()
{
    return QStringLiteral(
        "QComboBox{background:white;border:1px solid rgba(177, 177, 177, 1);border-radius:2px;"
        "padding-left:7px;color:#666666;font-size:14px;}\n"
        "QComboBox:hover{border:1px solid rgba(81, 167, 230, 1);}\n"
        "QComboBox::drop-down{subcontrol-origin:padding;subcontrol-position:top right;width:15px;"
        "border-left:none;}\n"
        "QComboBox::down-arrow{min-width:13px;image:url(:/Resources/Quindle/images/arrow_down.png);}\n"
        "QComboBox QAbstractItemView{color:#666666;}\n"
        "QComboBox QAbstractItemView::item{height:25px;}\n"
        "QComboBox QAbstractItemView::item:selected{color:#666666;background-color:#A2D3F8;}\n"
        "QSpinBox{border-radius:2px;border:1px solid #999999;padding-left:5px;color:#666666;"
        "font-size:14px;}\n"
        "QSpinBox:hover{border:1px solid rgba(81, 167, 230, 1);}\n"
        "QSpinBox::up-button{margin-top:3px;margin-bottom:1px;min-height:10px;"
        "image:url(:/Resources/Quindle/images/spin_up.png);}\n"
        "QSpinBox::up-button:hover{image:url(:/Resources/Quindle/images/spin_up_hover.png);}\n"
        "QSpinBox::down-button{margin-bottom:3px;margin-top:1px;min-height:10px;"
        "image:url(:/Resources/Quindle/images/spin_down.png);}\n"
        "QSpinBox::down-button:hover{image:url(:/Resources/Quindle/images/spin_down_hover.png);}\n"
        "QCheckBox{font-size:14px;font-family:Microsoft YaHei;color:rgba(102,102,102,1);}\n"
        "QCheckBox::indicator{width:18px;height:18px;}\n"
        "QCheckBox::indicator:checked{width:15px;height:15px;margin-left:2px;"
        "image:url(:/Resources/Quindle/images/check_checked.png);}\n"
        "QCheckBox::indicator:unchecked{image:url(:/Resources/Quindle/images/check_normal.png);}\n"
        "QCheckBox::indicator:unchecked:hover{image:url(:/Resources/Quindle/images/check_hover.png);}\n");
}

} // namespace Ui
