#include "storage/ReminderLog.h"

#include "components/TextFile.h"

#include <QFileInfo>

namespace {

// The window may hold a project by another path to the same file than --remind finds.
QString projectName(const QString& file)
{
    const QString canonical = QFileInfo(file).canonicalFilePath();
    return canonical.isEmpty() ? file : canonical;
}

QString entry(const QString& project, const QString& key)
{
    return project + u'\t' + key;
}

} // namespace

ReminderLog::ReminderLog(const QString& dataFolder)
    : m_path(dataFolder + QStringLiteral("/reminded.txt"))
{
}

QStringList ReminderLog::entries(QDate today) const
{
    const Expected<QStringList> lines = TextFile::loadLines(m_path);
    if (!lines.ok() || lines.value.value(0) != today.toString(Qt::ISODate))
        return {};
    return lines.value.mid(1);
}

QSet<QString> ReminderLog::told(QDate today, const QString& projectFile) const
{
    const QString prefix = entry(projectName(projectFile), QString());
    QSet<QString> keys;
    for (const QString& line : entries(today)) {
        if (line.startsWith(prefix))
            keys.insert(line.mid(prefix.size()));
    }
    return keys;
}

Result ReminderLog::remember(QDate today, const QString& projectFile, const QStringList& keys) const
{
    QStringList lines = entries(today);
    const QString project = projectName(projectFile);
    for (const QString& key : keys) {
        if (!lines.contains(entry(project, key)))
            lines.append(entry(project, key));
    }
    lines.prepend(today.toString(Qt::ISODate));
    return TextFile::saveBytes(m_path, TextFile::encode(lines.join(u'\n') + u'\n'));
}
