#include "model/TaskCounts.h"

#include "components/TextFile.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

bool TaskCounts::isTask(QStringView line)
{
    for (const QChar c : line) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return true;
    }
    return false;
}

bool TaskCounts::isCompleted(QStringView line)
{
    // This runs over every line on each key release and export. Task lines are short, and
    // where on a line the first "--" is, if anywhere, cannot be guessed: a search that stops
    // there spent more time on mispredicted branches than on looking at characters. So
    // every line is looked at whole, eight characters at a time.
    const char16_t* c = line.utf16();
    const qsizetype n = line.size();
#if defined(__SSE2__)
    if (n >= 9) {
        const __m128i dash = _mm_set1_epi16('-');
        // A hyphen at each of the eight places from i whose next character is one too.
        const auto pairs = [&](qsizetype i) {
            const auto at = [&](qsizetype from) {
                return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c + from)),
                                       dash);
            };
            return _mm_and_si128(at(i), at(i + 1));
        };
        // Blocks that would run past the end are moved back to end with the line, so that
        // most lines take the same few steps with no loop to guess the length of.
        const qsizetype last = n - 9;
        __m128i found = _mm_or_si128(_mm_or_si128(pairs(0), pairs(std::min<qsizetype>(8, last))),
                                     _mm_or_si128(pairs(std::min<qsizetype>(16, last)),
                                                  pairs(std::min<qsizetype>(24, last))));
        for (qsizetype i = 32; i < last; i += 8)
            found = _mm_or_si128(found, pairs(i));
        found = _mm_or_si128(found, pairs(last));
        return _mm_movemask_epi8(found) != 0;
    }
#endif
    bool found = false;
    for (qsizetype i = 0; i + 1 < n; ++i)
        found |= c[i] == u'-' && c[i + 1] == u'-';
    return found;
}

TaskCounts TaskCounts::of(QStringView text)
{
    TaskCounts counts;
    TextFile::forEachLine(text, [&](QStringView line) {
        if (!isTask(line))
            return;
        ++counts.total;
        counts.completed += isCompleted(line);
    });
    return counts;
}

TaskCounts TaskCounts::ofLines(const QStringList& lines)
{
    TaskCounts counts;
    for (const QString& line : lines) {
        if (!isTask(line))
            continue;
        ++counts.total;
        counts.completed += isCompleted(line);
    }
    return counts;
}
