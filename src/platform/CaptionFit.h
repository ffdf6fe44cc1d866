#pragma once

#include <QString>

class QAbstractButton;
class QCheckBox;
class QWidget;

namespace velmora {

// The layout is measured for fonts of the designed widths. Where none is installed the
// captions come out wider and would be cut; these shrink a caption's font, half a point
// at a time, until it fits. The controls never move, and a caption that fits is left
// exactly as it is.

// A button or check box whose caption runs past its right edge.
void shrinkCaptionToFit(QAbstractButton& control);

// A check box whose caption runs under a text box, `before` it and `after` it with a blank
// run between: the first part must end before the box and the rest start after it and
// end inside the check box. The blank run is measured anew for the font in use.
void fitCaptionAroundTextBox(QCheckBox& box, const QWidget& textBox, const QString& before,
                             const QString& after);

} // namespace velmora
