#pragma once

#include <QProxyStyle>

namespace quorvane {

// The desktop's style, with two images of the Fusion style that Qt reads from
// files replaced: the first image file read loads every image-format plug-in,
// a good part of the start-up time. The menu bar's overflow arrow (never shown
// in our fixed window) is made when first drawn, and Fusion's frame of a group
// box is drawn with lines of the same look. A focused push button gets a
// ring of its own: Fusion draws focus and default button alike.
class AppStyle final : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};

} // namespace quorvane
