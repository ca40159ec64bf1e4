#pragma once

#include "model/Forecast.h"

#include <QDate>
#include <QWidget>

class Clock;
class Project;
class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

// Progress over time for the whole goal or one sub-goal: a burn-up chart with the forecast,
// or the same numbers as a table. Drawn from the project and its history; a save adds the
// day's point.
class ProgressWindow : public QWidget
{
    Q_OBJECT

public:
    ProgressWindow(const Project& project, const Clock& clock, QWidget* parent = nullptr);

    QChart* chart() const;

private:
    void fillChoices();
    // Draws again when the history changed (force) or the shown key or due date did.
    void redraw(bool force);
    void showTable(bool table);
    void fillTable();

    const Project& m_project;
    const Clock& m_clock;
    QComboBox* m_choice = nullptr;
    QChartView* m_chart = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_forecast = nullptr;
    QPushButton* m_toggle = nullptr;
    QString m_drawnKey;
    QDate m_drawnDue;
    bool m_drawn = false;
    QList<ProgressPoint> m_points; // drawn last, for the table
    bool m_tableFilled = false;
};
