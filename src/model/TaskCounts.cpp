#include "model/TaskCounts.h"

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
        for (qsizetype i = 1; i < line.size(); ++i) {
            if (line[i] == u'-' && line[i - 1] == u'-') {
                ++counts.completed;
                break;
            }
        }
    });
    return counts;
}
