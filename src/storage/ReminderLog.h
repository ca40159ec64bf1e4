#pragma once

#include "components/Result.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>

// Which sub-goals were told about today, so that neither the window nor --remind tells one
// twice on a day. One small file in the data folder; a new day starts it afresh. A project
// is named by its file (empty for one not yet saved), a sub-goal by its key.
class ReminderLog
{
public:
    explicit ReminderLog(const QString& dataFolder);

    const QString& path() const { return m_path; }
    QSet<QString> told(QDate today, const QString& projectFile) const;
    // Adds to what was told today; a run on another day's file starts it again.
    Result remember(QDate today, const QString& projectFile, const QStringList& keys) const;

private:
    QStringList entries(QDate today) const;

    QString m_path;
};
