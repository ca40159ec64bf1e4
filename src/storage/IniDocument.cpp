#include "storage/IniDocument.h"

#include "components/TextFile.h"

#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString GoalsSection = u"goals"_s;

// Blanks around names; other control characters belong to the name.
QByteArrayView trimmed(QByteArrayView bytes)
{
    while (bytes.startsWith(' ') || bytes.startsWith('\t'))
        bytes = bytes.sliced(1);
    while (bytes.endsWith(' ') || bytes.endsWith('\t'))
        bytes.chop(1);
    return bytes;
}

// The goal and number of "Goal" + N + "_Task" + M in any letter case, N from 1 to 8 and
// M written without leading zeros; {0, 0} for any other key.
std::pair<int, qint64> taskNumber(QStringView key)
{
    const QStringView number = key.size() > 10 ? key.sliced(10) : QStringView();
    const bool digits =
        !number.isEmpty() && number.size() <= 18 && number.front() != u'0' &&
        std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digits || !key.startsWith(u"goal", Qt::CaseInsensitive) || key[4] < u'1' ||
        key[4] > QChar(u'0' + ProjectData::MaxGoals) ||
        key.sliced(5, 5).compare(u"_task", Qt::CaseInsensitive) != 0)
        return {0, 0};
    return {key[4].unicode() - u'0', number.toLongLong()};
}

} // namespace

IniDocument IniDocument::parse(QByteArrayView bytes)
{
    // Lines are cut at byte level, which UTF-16 does not allow: it is read as UTF-8 instead.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return parse(TextFile::decode(bytes.toByteArray()).toUtf8());
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    // Line by line, so that the file is never held as a whole text beside what is read.
    QStringDecoder decoder = TextFile::decoderFor(bytes);
    const auto decode = [&](QByteArrayView piece) { return QString(decoder(piece)); };

    IniDocument doc;
    QHash<QString, QString>* section = nullptr; // null before any section and in a repeat
    bool goals = false;
    for (qsizetype from = 0; from < bytes.size(); ++doc.m_lineCount) {
        qsizetype end = bytes.indexOf('\n', from);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(from, end - from);
        from = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);

        const QByteArrayView text = trimmed(line);
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            if (close < 0)
                continue;
            const QString name = decode(trimmed(text.sliced(1, close - 1))).toCaseFolded();
            section = doc.m_sections.contains(name) ? nullptr : &doc.m_sections[name];
            goals = section && name == GoalsSection;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!section || equals < 0)
            continue;
        const QString key = decode(trimmed(line.first(equals)));
        const auto decodedValue = [&] {
            return decode(line.sliced(equals + 1)).replace(u'\r', u' ');
        };
        const auto task = goals ? taskNumber(key) : std::pair<int, qint64>();
        if (task.first > 0) {
            QStringList& run = doc.m_tasks[task.first - 1];
            if (task.second <= run.size() || doc.m_otherTasks.contains(task))
                continue; // a repeat: the first one stays
            if (task.second == run.size() + 1)
                run.append(decodedValue());
            else
                doc.m_otherTasks.insert(task, decodedValue());
            continue;
        }
        const QString folded = key.toCaseFolded();
        if (!folded.isEmpty() && !folded.startsWith(u';') && !section->contains(folded))
            section->insert(folded, decodedValue());
    }
    return doc;
}

QString IniDocument::value(QStringView section, QStringView key) const
{
    const QString sectionName = section.trimmed().toString().toCaseFolded();
    const auto task = taskNumber(key.trimmed());
    if (sectionName == GoalsSection && task.first > 0)
        return taskLine(task.first, task.second);
    return m_sections.value(sectionName).value(key.trimmed().toString().toCaseFolded());
}
