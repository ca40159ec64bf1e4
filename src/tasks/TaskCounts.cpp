#include "tasks/TaskCounts.h"

#include "components/TextFile.h"

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
    TextFile::forEachLine(text, [&](QStringView line) {
        if (isBlank(line))
            return;
        ++counts.total;
        if (line.contains(QStringLiteral("--")))
            ++counts.completed;
    });
    return counts;
}
