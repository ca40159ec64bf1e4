#include "model/TaskCounts.h"

#include <QRegularExpression>

#include <algorithm>

bool TaskCounts::isTask(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return true;
    }
    return false;
}

TaskCounts TaskCounts::changed(QStringView before, QStringView after, qsizetype position,
                               qsizetype removed, qsizetype inserted) const
{
    const qsizetype start = before.first(position).lastIndexOf(u'\n') + 1;
    const auto lines = [start](QStringView text, qsizetype changeEnd) {
        const qsizetype end = text.indexOf(u'\n', changeEnd);
        return of(text.sliced(start, (end < 0 ? text.size() : end) - start));
    };
    const TaskCounts gone = lines(before, position + removed);
    const TaskCounts come = lines(after, position + inserted);
    return {total - gone.total + come.total, completed - gone.completed + come.completed};
}

QStringList TaskCounts::toggledDone(QStringList lines)
{
    const bool anyPending = std::any_of(lines.cbegin(), lines.cend(), [](const QString& line) {
        return isTask(line) && !isCompleted(line);
    });
    static const QRegularExpression mark(QStringLiteral("[ \\t]*-{2,}[ \\t]*"));
    for (QString& line : lines) {
        if (!isTask(line) || isCompleted(line) == anyPending)
            continue;
        if (anyPending) {
            line += line.back().isSpace() ? QStringLiteral("--") : QStringLiteral(" --");
            continue;
        }
        // Between words the mark leaves one blank; at either end, nothing.
        QString plain;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& m : mark.globalMatch(line)) {
            plain += line.sliced(from, m.capturedStart() - from);
            if (m.capturedStart() > 0 && m.capturedEnd() < line.size() && !plain.isEmpty())
                plain += u' ';
            from = m.capturedEnd();
        }
        line = plain + line.sliced(from);
    }
    return lines;
}
