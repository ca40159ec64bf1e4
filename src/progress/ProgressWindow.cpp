#include "progress/ProgressWindow.h"

#include "components/Clock.h"
#include "model/Forecast.h"
#include "model/Project.h"
#include "widgets/ProgressChart.h"

#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

ProgressWindow::ProgressWindow(const Project& project, const Clock& clock, QWidget* parent)
    : QWidget(parent, Qt::Window), m_project(project), m_clock(clock)
{
    setObjectName(u"frmProgress"_s);
    setWindowTitle(u"Progress Over Time"_s);
    m_choice = new QComboBox(this);
    m_choice->setObjectName(u"cboProgressGoal"_s);
    m_choice->setAccessibleName(u"Show progress of"_s);
    m_toggle = new QPushButton(u"Show as Table"_s, this);
    m_toggle->setObjectName(u"btnShowTable"_s);
    m_toggle->setCheckable(true);
    m_forecast = new QLabel(this);
    m_forecast->setObjectName(u"lblForecast"_s);
    m_forecast->setWordWrap(true);
    m_forecast->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_chart = new QChartView(this);
    m_chart->setObjectName(u"chartProgress"_s);
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setAccessibleName(u"Progress chart"_s);
    m_table = new QTableWidget(0, 4, this);
    m_table->setObjectName(u"tblProgress"_s);
    m_table->setAccessibleName(u"Progress by day"_s);
    m_table->setHorizontalHeaderLabels({u"Date"_s, u"Total"_s, u"Completed"_s, u"Pending"_s});
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->hide();

    auto* top = new QHBoxLayout;
    top->addWidget(m_choice, 1);
    top->addWidget(m_toggle);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_forecast);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_table, 1);
    resize(760, 520);

    connect(m_toggle, &QPushButton::toggled, this, &ProgressWindow::showTable);
    connect(m_choice, &QComboBox::currentIndexChanged, this, [this] { redraw(false); });
    connect(&project.progress(), &ProgressHistory::changed, this, [this] { redraw(true); });
    connect(&project, &Project::goalsReset, this, &ProgressWindow::fillChoices);
    connect(&project, &Project::goalAdded, this, &ProgressWindow::fillChoices);
    connect(&project, &Project::goalRemoved, this, &ProgressWindow::fillChoices);
    connect(&project, &Project::goalChanged, this, &ProgressWindow::fillChoices);
    fillChoices();
}

QChart* ProgressWindow::chart() const
{
    return m_chart->chart();
}

void ProgressWindow::fillChoices()
{
    // Counts change with every key typed into a task list; the choices only with the names.
    bool same = m_choice->count() == m_project.goalCount() + 1;
    for (int i = 1; same && i <= m_project.goalCount(); ++i)
        same = m_choice->itemText(i) == m_project.goal(i).name &&
               m_choice->itemData(i).toString() == m_project.goal(i).key;
    const QString shown = m_choice->currentData().toString();
    if (!same) {
        const QSignalBlocker quiet(m_choice);
        m_choice->clear();
        m_choice->addItem(u"Whole goal"_s, QString());
        for (int i = 1; i <= m_project.goalCount(); ++i)
            m_choice->addItem(m_project.goal(i).name, m_project.goal(i).key);
        m_choice->setCurrentIndex(std::max(0, m_choice->findData(shown)));
    }
    redraw(false);
}

void ProgressWindow::redraw(bool force)
{
    const QString key = m_choice->currentData().toString();
    const QDate due = Forecast::dueOf(m_project.goals(), key);
    if (!force && m_drawn && key == m_drawnKey && due == m_drawnDue)
        return;
    m_drawn = true;
    m_drawnKey = key;
    m_drawnDue = due;
    const QList<ProgressPoint> points = Forecast::series(m_project.progress().rows(), key);
    const Forecast forecast = Forecast::of(points, m_clock.today(), due);
    m_forecast->setText(forecast.sentence);
    QChart* old = m_chart->chart();
    m_chart->setChart(ProgressChart::build(points, forecast, due));
    delete old;

    m_points = points;
    // A thousand days make four thousand cells: filled only when the table is shown.
    m_tableFilled = false;
    if (m_table->isVisible())
        fillTable();
}

void ProgressWindow::fillTable()
{
    m_tableFilled = true;
    m_table->setRowCount(int(m_points.size()));
    for (int row = 0; row < m_points.size(); ++row) {
        const ProgressPoint& p = m_points[row];
        const QStringList cells{Forecast::dateText(p.date), QString::number(p.total),
                                QString::number(p.completed),
                                QString::number(p.total - p.completed)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (column > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(row, column, item);
        }
    }
}

void ProgressWindow::showTable(bool table)
{
    if (table && !m_tableFilled)
        fillTable();
    m_chart->setVisible(!table);
    m_table->setVisible(table);
}
