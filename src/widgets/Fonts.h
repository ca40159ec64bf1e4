#pragma once

#include <QColor>
#include <QFont>

class QString;
class QWidget;

// The faces the layout was drawn with, falling back to close sans families where they
// are not installed.
namespace Fonts {

QFont trebuchet(qreal points, bool bold = false, bool underline = false);
QFont verdana(qreal points, bool bold = false, bool underline = false);
QFont arialBlack(qreal points);

void setTextColour(QWidget* widget, const QColor& colour);
void setBackground(QWidget* widget, const QColor& colour);
// A tool tip that shows the text as it is, even when it looks like markup.
void setPlainToolTip(QWidget* widget, const QString& text);

} // namespace Fonts
