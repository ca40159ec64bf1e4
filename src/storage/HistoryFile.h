#pragma once

#include "components/Result.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

// One sub-goal's counts on one day, as a save recorded them.
struct HistoryRow
{
    QDate date;
    QString key;
    QString name;
    int total = 0;
    int completed = 0;

    bool operator==(const HistoryRow&) const = default;
};

// The progress history beside a project: Plan.gpj keeps it in Plan.history.csv, one row per
// sub-goal and day saved, oldest first, under the header "date,key,name,total,completed".
class HistoryFile
{
public:
    static QString pathFor(const QString& projectPath);

    static QByteArray serialize(const QList<HistoryRow>& rows);
    // Fails on anything that is not such a file; a missing file is not read here.
    static Expected<QList<HistoryRow>> parse(const QByteArray& bytes);
    static Expected<QList<HistoryRow>> read(const QString& path);
    static Result write(const QString& path, const QList<HistoryRow>& rows);

    // Rows with the day's rows replaced by dayRows, still in date order.
    static QList<HistoryRow> withDay(QList<HistoryRow> rows, QDate day,
                                     const QList<HistoryRow>& dayRows);
    // Renames an unreadable file to a dated name beside it, never over another file; the
    // new path.
    static Expected<QString> setAside(const QString& path, const QDateTime& now);
};
