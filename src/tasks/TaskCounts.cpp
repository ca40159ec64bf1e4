#include "tasks/TaskCounts.h"

namespace {

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return false;
    }
    return true;
}

} // namespace

TaskCounts TaskCounts::of(QStringView text)
{
    TaskCounts counts;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = size;
        const QStringView line = text.mid(start, end - start);
        if (!isBlank(line)) {
            ++counts.total;
            if (line.contains(QStringLiteral("--")))
                ++counts.completed;
        }
        start = end + 1;
    }
    return counts;
}
