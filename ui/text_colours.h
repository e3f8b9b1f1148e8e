#pragma once

// The program's own colours under any colour scheme. On a light background
// they are the design's; on a dark one a rise or fall colour is lightened and
// a field on one of the program's light backgrounds gets dark text, so that
// every coloured text reads at the WCAG AA level (4.5:1).

#include <QColor>

class QWidget;

namespace quorvane {

// The WCAG 2 contrast ratio of two colours, from 1 to 21.
double ContrastRatio(const QColor &a, const QColor &b);

// The design colour rgb as text on background.
QColor TextColourOn(unsigned rgb, const QColor &background);

// Text on one of the program's own backgrounds: the scheme's text colour where
// it reads, else black.
QColor TextOnOwnBackground(const QColor &schemeText, unsigned backgroundRgb);

// Marks a control: its text in the design colour rgb (a label's window text,
// a field's text), or, with 0, in the scheme's colour again.
void SetDesignTextColour(QWidget *control, unsigned rgb);
// Marks a field: the program's background rgb, with a text colour that reads on it.
void SetDesignBackground(QWidget *field, unsigned rgb);
// Applies the marks of root and its children to the current colour scheme.
void ApplyDesignColours(QWidget *root);

} // namespace quorvane
