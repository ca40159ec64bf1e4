#include "dashboard/GoalPanel.h"

#include "model/DashboardLayout.h"
#include "model/Project.h"

namespace {

QString arrayName(const char* name, int index)
{
    return QString::fromLatin1(name) + u'_' + QString::number(index);
}

template <typename W> W* place(W* widget, const char* name, int index, QRect twips)
{
    widget->setObjectName(arrayName(name, index));
    widget->setGeometry(DashboardLayout::toPixels(twips));
    return widget;
}

QLabel* countLabel(QWidget* parent, const char* name, int index, int top, const QColor& colour)
{
    auto* label = place(new QLabel(parent), name, index, {675, top, 1590, 330});
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    Fonts::setTextColour(label, colour);
    return label;
}

QFrame* shape(QWidget* parent, const char* name, int index, QRect twips, const QColor& colour)
{
    auto* frame = place(new QFrame(parent), name, index, twips);
    Fonts::setBackground(frame, colour);
    frame->hide();
    // Moves over the band and the marker belong to the panel, which shows its "X".
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);
    return frame;
}

} // namespace

GoalPanel::GoalPanel(int index, const QPixmap& background, QWidget* parent)
    : QWidget(parent), m_index(index), m_picture(background)
{
    setObjectName(arrayName("picGoal", index));
    const QPoint origin = DashboardLayout::panelOrigin(index);
    setGeometry(DashboardLayout::toPixels(
        QRect(origin.x(), origin.y(), DashboardLayout::PanelWidth, DashboardLayout::PanelHeight)));
    setMouseTracking(true);
    // The counts and the due date; the name and the "X" have faces of their own.
    setFont(Fonts::trebuchet(9.75));

    m_dueBand = shape(this, "shDueDate", index, {0, 2205, 2985, 555}, QColor(0x00, 0x00, 0x80));
    m_dueLabel = place(new QLabel(QStringLiteral("Due Date:"), this), "lblDueDateDate", index,
                       {225, 2340, 2490, 285});
    m_dueLabel->setAlignment(Qt::AlignCenter);
    m_dueLabel->setTextFormat(Qt::PlainText);
    Fonts::setTextColour(m_dueLabel, Qt::white);
    m_dueLabel->hide();

    m_name = place(new ClickableLabel(QStringLiteral("Goal"), this), "lblGoal", index,
                   {180, 900, 2580, 330});
    m_name->setAlignment(Qt::AlignCenter);
    m_name->setFont(Fonts::trebuchet(11.25, true, true));
    Fonts::setTextColour(m_name, QColor(0x00, 0x00, 0x80));
    connect(m_name, &ClickableLabel::clicked, this, [this] { emit nameClicked(m_index); });

    m_total = countLabel(this, "lblTasks_Total", index, 1260, QColor(0x00, 0x00, 0x40));
    m_completed = countLabel(this, "lblTasks_Completed", index, 1530, QColor(0x00, 0x40, 0x00));
    m_pending = countLabel(this, "lblTasks_Pending", index, 1800, QColor(0x80, 0x00, 0x00));
    setCounts({});

    m_delete = place(new ClickableLabel(QStringLiteral("X"), this), "lblDeleteOnMouseOver", index,
                     {2610, 135, 330, 285});
    m_delete->setAlignment(Qt::AlignCenter);
    m_delete->setFont(Fonts::arialBlack(9.75));
    Fonts::setTextColour(m_delete, QColor(0xFF, 0x00, 0x00));
    m_delete->setToolTip(tr("Delete this sub-goal"));
    m_delete->setAccessibleRole(QAccessible::Button);
    m_delete->hide();
    connect(m_delete, &ClickableLabel::clicked, this, [this] { emit deleteClicked(m_index); });

    m_active = shape(this, "shActive", index, {1350, 450, 240, 240}, QColor(0xFF, 0xFF, 0xC0));
}

void GoalPanel::showGoal(const QString& name, const QString& due, const TaskCounts& counts)
{
    m_name->setText(name);
    m_delete->setAccessibleName(QStringLiteral("Delete ") + name);
    setCounts(counts);
    const bool dated = !due.isEmpty();
    if (dated)
        m_dueLabel->setText(QStringLiteral("Due Date: ") + due);
    m_dueBand->setVisible(dated);
    m_dueLabel->setVisible(dated);
    show();
}

void GoalPanel::setCounts(const TaskCounts& counts)
{
    const QStringList captions = counts.captions();
    m_total->setText(captions.at(0));
    m_completed->setText(captions.at(1));
    m_pending->setText(captions.at(2));
}

void GoalPanel::clear()
{
    hide();
    m_name->clear();
    m_dueLabel->clear();
    m_dueBand->hide();
    m_dueLabel->hide();
    m_active->hide();
    setCounts({});
}
