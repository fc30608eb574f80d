#pragma once

#include <QProxyStyle>

namespace quorvel {

// Lets the page control answer where its tab bar and its pages go, and keeps its tabs at the
// start of the strip whatever the desktop's style prefers.
class PageControlStyle : public QProxyStyle {
public:
    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

// One style for every page control, living as long as the application.
QStyle* SharedPageControlStyle();

} // namespace quorvel
