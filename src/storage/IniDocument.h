#pragma once

#include "model/ProjectData.h"

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <utility>

// An INI file read once into sections and keys. Names match without regard to case;
// the first occurrence of a section, and of a key within it, is the one read. Values are
// kept as written, except that a carriage return inside a value reads as a blank.
class IniDocument
{
public:
    // Bytes as TextFile decodes them: UTF-8, UTF-16 with a byte-order mark, or Windows-1252.
    static IniDocument parse(QByteArrayView bytes);

    bool hasSection(QStringView section) const
    {
        return m_sections.contains(section.trimmed().toString().toCaseFolded());
    }
    // The value, or an empty text when the section or key is missing.
    QString value(QStringView section, QStringView key) const;
    // The values of "GoalN_Task1" to "GoalN_Task" + count in [Goals]; a missing one is empty.
    QStringList tasks(int goal, qsizetype count) const
    {
        QStringList lines = m_tasks[goal - 1].mid(0, count); // shared, not copied, when whole
        for (qsizetype number = lines.size() + 1; number <= count; ++number)
            lines.append(m_otherTasks.value({goal, number}));
        return lines;
    }
    qsizetype lineCount() const { return m_lineCount; }

private:
    QString taskLine(int goal, qint64 number) const
    {
        const QStringList& run = m_tasks[goal - 1];
        return number <= run.size() ? run[number - 1] : m_otherTasks.value({goal, number});
    }

    QHash<QString, QHash<QString, QString>> m_sections; // names case-folded
    // The task lines are the bulk of a project; a key each, or a hash entry each, would take
    // an open project beyond its memory limit ("peak resident memory"). As this program
    // writes them they come in order and are simply appended; any others go by number.
    std::array<QStringList, ProjectData::MaxGoals> m_tasks; // Task1, Task2, ... in a row
    QHash<std::pair<int, qint64>, QString> m_otherTasks;
    qsizetype m_lineCount = 0;
};
