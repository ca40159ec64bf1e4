#pragma once

#include "components/Result.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QString>
#include <QStringList>

// The task files of the open project, one per key in the task folder. Text whose write
// failed is kept here and used in place of the file until a write works, so a full disk
// loses no tasks.
class TaskStore
{
public:
    explicit TaskStore(QString folder);

    QString path(const QString& key) const
    {
        return m_folder + u'/' + key + QStringLiteral(".txt");
    }

    // The tasks of a key; a missing file is created empty. On a failure the error is set
    // and the text is whatever could be had.
    Expected<QString> load(const QString& key);
    // Replaces the file whole; on a failure the text is kept for later.
    Result save(const QString& key, const QString& text);
    // The lines to save in a project. Only a file that is not there at all means no tasks.
    Expected<QStringList> lines(const QString& key) const;
    void remove(const QString& key)
    {
        m_unwritten.remove(key);
        // A file already gone is no error; anything left behind is emptied at the next start.
        QFile::remove(path(key));
    }
    // A file or kept text for this key: a new key must not take it over.
    bool isTaken(const QString& key) const
    {
        return m_unwritten.contains(key) || QFileInfo::exists(path(key));
    }
    void forgetUnwritten() { m_unwritten.clear(); }

private:
    QString m_folder;
    QHash<QString, QString> m_unwritten;
};
