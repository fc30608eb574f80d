#include "skin/controls/pagecontrolstyle.h"

#include "skin/controls/skinpagecontrol.h"
#include "skin/render/skinutils.h"

#include <QApplication>
#include <QPointer>

namespace quorvel {

QRect PageControlStyle::subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const
{
    if (const auto* control = qobject_cast<const SkinPageControl*>(widget)) {
        switch (element) {
        case SE_TabWidgetTabBar:
            return control->TabBarRect();
        case SE_TabWidgetTabContents:
            return control->PageArea();
        case SE_TabWidgetTabPane:
            return ToQRect(control->Geometry().FrameRect());
        case SE_TabWidgetLeftCorner:
        case SE_TabWidgetRightCorner:
            return {};
        default:
            break;
        }
    }
    return QProxyStyle::subElementRect(element, option, widget);
}

int PageControlStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                QStyleHintReturn* returnData) const
{
    if (hint == SH_TabBar_Alignment)
        return Qt::AlignLeft;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QStyle* SharedPageControlStyle()
{
    static QPointer<PageControlStyle> style;
    if (!style) {
        style = new PageControlStyle;
        style->setParent(qApp);
    }
    return style;
}

} // namespace quorvel
