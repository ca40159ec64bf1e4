#include "widgets/Fonts.h"

#include <QPalette>
#include <QTextDocument>
#include <QWidget>

namespace Fonts {
namespace {

// The families are made once: every control of the main window asks.
QFont make(const QStringList& families, qreal points, bool bold, bool underline)
{
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

const QString DejaVu = QStringLiteral("DejaVu Sans");
const QString Sans = QStringLiteral("Sans Serif");

} // namespace

QFont trebuchet(qreal points, bool bold, bool underline)
{
    static const QStringList families{QStringLiteral("Trebuchet MS"), QStringLiteral("Fira Sans"),
                                      DejaVu, Sans};
    return make(families, points, bold, underline);
}

QFont verdana(qreal points, bool bold, bool underline)
{
    static const QStringList families{QStringLiteral("Verdana"), DejaVu, Sans};
    return make(families, points, bold, underline);
}

QFont arialBlack(qreal points)
{
    static const QStringList families{QStringLiteral("Arial Black"), DejaVu, Sans};
    QFont font = make(families, points, true, false);
    font.setWeight(QFont::Black);
    return font;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    // Labels, links and the check box draw their text in this role.
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
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
