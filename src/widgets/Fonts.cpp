#include "widgets/Fonts.h"

#include <QPalette>
#include <QTextDocument>
#include <QWidget>

namespace Fonts {
namespace {

QFont make(const QStringList& families, qreal points, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

QFont trebuchet(qreal points, bool bold, bool underline)
{
    static const QStringList families{QStringLiteral("Trebuchet MS"), QStringLiteral("Fira Sans"),
                                      QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
    return make(families, points, bold, underline);
}

QFont verdana(qreal points, bool bold, bool underline)
{
    static const QStringList families{QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"),
                                      QStringLiteral("Sans Serif")};
    return make(families, points, bold, underline);
}

QFont arialBlack(qreal points)
{
    static const QStringList families{QStringLiteral("Arial Black"), QStringLiteral("DejaVu Sans"),
                                      QStringLiteral("Sans Serif")};
    QFont font = make(families, points, true, false);
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
