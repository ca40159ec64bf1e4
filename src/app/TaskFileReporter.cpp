#include "app/TaskFileReporter.h"

#include "dialogs/Prompt.h"

void TaskFileReporter::report(const QString& key, const Result& result)
{
    if (result.ok()) {
        m_reported.remove(key);
        return;
    }
    if (m_reported.contains(key))
        return;
    m_reported.insert(key);
    m_prompt.warn(m_parent,
                  result.error + QStringLiteral("\n\nYour tasks are kept while the program runs "
                                                "and are stored in the project when you save it."),
                  QStringLiteral("Task File"));
}

void TaskFileReporter::reportAll(const QStringList& failures)
{
    if (failures.isEmpty())
        return;
    m_prompt.warn(m_parent,
                  failures.join(u'\n') +
                      QStringLiteral("\n\nThese tasks are kept while the program runs and are "
                                     "stored in the project when you save it."),
                  QStringLiteral("Task File"));
}
