#pragma once

#include "model/ProjectData.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>

// An INI file parsed once into sections and keys. Names match without regard to case;
// the first occurrence of a section, and of a key within it, is the one read. Values are
// kept as written, except that a carriage return inside a value reads as a blank.
//
// The task lines of a project ("GoalN_TaskM" in [Goals], N = 1..8) are the bulk of a file;
// they are kept by number instead of under a key each, so reading stays fast and small.
class IniDocument
{
public:
    // Bytes as UTF-8 (a byte-order mark is skipped), as UTF-16 with a byte-order mark, or
    // as Windows-1252 when they are not valid UTF-8.
    static IniDocument parse(QByteArrayView bytes);

    bool hasSection(QStringView section) const;
    // The value, or an empty text when the section or key is missing.
    QString value(QStringView section, QStringView key) const;
    // Task lines 1..count of sub-goal goal (1..8); a missing line reads as empty.
    QStringList tasks(int goal, qsizetype count) const;
    qsizetype lineCount() const { return m_lineCount; }

private:
    enum class Encoding
    {
        Utf8,
        Windows1252
    };
    // False when the bytes turn out not to be valid in that encoding.
    bool read(QByteArrayView bytes, Encoding encoding);

    struct Tasks
    {
        QList<QString> lines; // index m - 1
        QList<bool> seen;
        QHash<qint64, QString> far; // numbers far beyond the others, so memory stays bounded
    };
    QHash<QString, QHash<QString, QString>> m_sections; // folded names
    std::array<Tasks, ProjectData::MaxGoals> m_tasks;
    qsizetype m_lineCount = 0;
};
