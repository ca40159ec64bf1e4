#include "storage/HistoryFile.h"

#include "components/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString Header = u"date,key,name,total,completed"_s;
const QString DateForm = u"yyyy-MM-dd"_s;

QString quoted(const QString& field)
{
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r'))
        return field;
    QString text = field;
    return u'"' + text.replace(u"\""_s, u"\"\""_s) + u'"';
}

// Splits CSV text into records of fields; quoted fields may hold commas, quotes and line
// ends. False when a quote is left open or stray text follows a closing quote.
bool splitRecords(QStringView text, QList<QStringList>& records)
{
    QStringList fields;
    QString field;
    bool quotedField = false;
    bool afterQuote = false;
    const auto endField = [&] {
        fields.append(field);
        field.clear();
        afterQuote = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quotedField) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else {
                quotedField = false;
                afterQuote = true;
            }
        } else if (c == u',') {
            endField();
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endField();
            records.append(fields);
            fields.clear();
        } else if (afterQuote) {
            return false;
        } else if (c == u'"' && field.isEmpty()) {
            quotedField = true;
        } else {
            field += c;
        }
    }
    if (quotedField)
        return false;
    if (!field.isEmpty() || !fields.isEmpty() || afterQuote) {
        endField();
        records.append(fields);
    }
    return true;
}

bool readCount(const QString& text, int& count)
{
    bool ok = false;
    count = text.toInt(&ok);
    return ok && count >= 0;
}

} // namespace

QString HistoryFile::pathFor(const QString& projectPath)
{
    const QFileInfo info(projectPath);
    QString stem = info.fileName();
    if (stem.endsWith(u".gpj"_s, Qt::CaseInsensitive))
        stem.chop(4);
    return info.dir().filePath(stem + u".history.csv"_s);
}

QByteArray HistoryFile::serialize(const QList<HistoryRow>& rows)
{
    // Straight to bytes: the file is written behind every save, and a thousand days of
    // eight sub-goals should not churn megabytes of text (bench progress/save_with_1000_days).
    QByteArray bytes = Header.toUtf8() + "\r\n";
    bytes.reserve(bytes.size() + rows.size() * 48);
    QDate day;
    QByteArray dayText;
    for (const HistoryRow& row : rows) {
        if (row.date != day) // a day's rows come together
            dayText = (day = row.date).toString(Qt::ISODate).toLatin1();
        bytes += dayText + ',' + quoted(row.key).toUtf8() + ',' + quoted(row.name).toUtf8() + ',';
        bytes += QByteArray::number(row.total) + ',' + QByteArray::number(row.completed) + "\r\n";
    }
    return bytes;
}

Expected<QList<HistoryRow>> HistoryFile::parse(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return {{}, u"it is not UTF-8 text"_s};
    QList<QStringList> records;
    if (!splitRecords(text, records))
        return {{}, u"a quoted name is not closed"_s};
    if (records.isEmpty() || records.first().join(u',') != Header)
        return {{}, u"its first line is not \"%1\""_s.arg(Header)};
    QList<HistoryRow> rows;
    rows.reserve(records.size() - 1);
    // Each key and name is held once for all its days, not once a row: a long history
    // would otherwise scatter thousands of small strings over the heap that every save
    // allocates from (bench progress/save_with_1000_days).
    QSet<QString> texts;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QStringList& f = records[i];
        if (f.size() == 1 && f.first().isEmpty())
            continue;
        HistoryRow row;
        if (f.size() != 5)
            return {{}, u"line %1 does not have five fields"_s.arg(i + 1)};
        row.date = QDate::fromString(f[0], DateForm);
        if (!row.date.isValid() || !readCount(f[3], row.total) || !readCount(f[4], row.completed) ||
            row.completed > row.total || f[1].isEmpty())
            return {{}, u"line %1 is not a date, a key, a name and two counts"_s.arg(i + 1)};
        row.key = *texts.insert(f[1]);
        row.name = *texts.insert(f[2]);
        rows.append(row);
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const HistoryRow& a, const HistoryRow& b) { return a.date < b.date; });
    return {rows, {}};
}

Expected<QList<HistoryRow>> HistoryFile::read(const QString& path)
{
    const Expected<QByteArray> bytes = TextFile::readBytes(path);
    if (!bytes.ok())
        return {{}, bytes.error};
    return parse(bytes.value);
}

Result HistoryFile::write(const QString& path, const QList<HistoryRow>& rows)
{
    return TextFile::saveBytes(path, serialize(rows));
}

QList<HistoryRow> HistoryFile::withDay(QList<HistoryRow> rows, QDate day,
                                       const QList<HistoryRow>& dayRows)
{
    rows.removeIf([day](const HistoryRow& row) { return row.date == day; });
    // After every earlier day: a clock set back still keeps the file in date order.
    qsizetype at = std::upper_bound(rows.begin(), rows.end(), day,
                                    [](QDate d, const HistoryRow& row) { return d < row.date; }) -
                   rows.begin();
    for (const HistoryRow& row : dayRows)
        rows.insert(at++, row);
    return rows;
}

Expected<QString> HistoryFile::setAside(const QString& path, const QDateTime& now)
{
    QString stem = QFileInfo(path).fileName();
    if (stem.endsWith(u".csv"_s))
        stem.chop(4);
    return TextFile::setAside(
        path, stem + u"-unreadable-"_s + now.toString(u"yyyy-MM-dd'T'HH-mm-ss"_s), u".csv"_s);
}
