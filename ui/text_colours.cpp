#include "ui/text_colours.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace quorvane {

namespace {

constexpr double ReadableRatio = 4.5;
const char *const TextMark = "quorvaneTextColour";
const char *const BaseMark = "quorvaneBackground";

double Channel(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Channel(rgb.redF()) + 0.7152 * Channel(rgb.greenF()) + 0.0722 * Channel(rgb.blueF());
}

bool IsLight(const QColor &background)
{
    // Nearer white than black: the design's colours were made for it.
    return ContrastRatio(background, Qt::white) < ContrastRatio(background, Qt::black);
}

// A field's text stands on its base, a label's on the window.
QPalette::ColorRole TextRole(const QWidget *control)
{
    return qobject_cast<const QLineEdit *>(control) || qobject_cast<const QAbstractItemView *>(control)
               ? QPalette::Text
               : QPalette::WindowText;
}

QPalette::ColorRole BackgroundRole(const QWidget *control)
{
    return TextRole(control) == QPalette::Text ? QPalette::Base : QPalette::Window;
}

void Apply(QWidget *control)
{
    const QVariant text = control->property(TextMark);
    const QVariant base = control->property(BaseMark);
    if (!text.isValid() && !base.isValid())
        return;
    const QPalette scheme = QApplication::palette(control);
    QPalette palette = control->palette();
    const QColor background = base.isValid() ? QColor::fromRgb(base.toUInt()) : scheme.color(BackgroundRole(control));
    if (base.isValid())
        palette.setColor(QPalette::Base, background);
    if (text.isValid() && text.toUInt() != 0)
        palette.setColor(TextRole(control), TextColourOn(text.toUInt(), background));
    else if (base.isValid())
        palette.setColor(QPalette::Text, TextOnOwnBackground(scheme.color(QPalette::Text), base.toUInt()));
    else
        palette.setColor(TextRole(control), scheme.color(TextRole(control)));
    control->setPalette(palette);
}

} // namespace

double ContrastRatio(const QColor &a, const QColor &b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TextColourOn(unsigned rgb, const QColor &background)
{
    const QColor design = QColor::fromRgb(rgb);
    if (IsLight(background))
        return design;
    // Towards white in small steps, keeping as much of the hue as reads.
    QColor colour = design;
    for (int step = 1; step <= 20 && ContrastRatio(colour, background) < ReadableRatio; ++step) {
        const double t = step / 20.0;
        colour = QColor::fromRgbF(design.redF() + (1 - design.redF()) * t, design.greenF() + (1 - design.greenF()) * t,
                                  design.blueF() + (1 - design.blueF()) * t);
    }
    return colour;
}

QColor TextOnOwnBackground(const QColor &schemeText, unsigned backgroundRgb)
{
    return ContrastRatio(schemeText, QColor::fromRgb(backgroundRgb)) >= ReadableRatio ? schemeText : QColor(Qt::black);
}

void SetDesignTextColour(QWidget *control, unsigned rgb)
{
    control->setProperty(TextMark, rgb);
    Apply(control);
}

void SetDesignBackground(QWidget *field, unsigned rgb)
{
    field->setProperty(BaseMark, rgb);
    Apply(field);
}

void ApplyDesignColours(QWidget *root)
{
    Apply(root);
    for (QWidget *child : root->findChildren<QWidget *>())
        Apply(child);
}

} // namespace quorvane
