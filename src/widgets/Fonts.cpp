#include "widgets/Fonts.h"

#include <QPalette>
#include <QTextDocument>
#include <QWidget>

namespace Fonts {
namespace {

// The face the layout was drawn with first, then close sans families.
QFont make(QStringList faces, qreal points, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(faces << QStringLiteral("DejaVu Sans") << QStringLiteral("Sans Serif"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

QFont trebuchet(qreal points, bool bold, bool underline)
{
    return make({QStringLiteral("Trebuchet MS"), QStringLiteral("Fira Sans")}, points, bold,
                underline);
}

QFont verdana(qreal points, bool bold, bool underline)
{
    return make({QStringLiteral("Verdana")}, points, bold, underline);
}

QFont arialBlack(qreal points)
{
    QFont font = make({QStringLiteral("Arial Black")}, points, true, false);
    font.setWeight(QFont::Black);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void setPlainToolTip(QWidget* widget, const QString& text)
{
    widget->setToolTip(text.isEmpty() ? QString() : Qt::convertFromPlainText(text));
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace Fonts
