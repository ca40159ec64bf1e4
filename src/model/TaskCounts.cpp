#include "model/TaskCounts.h"

bool TaskCounts::isTask(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return true;
    }
    return false;
}
