#pragma once

#include "components/Result.h"

#include <QSet>
#include <QString>
#include <QStringList>

class Prompt;
class QWidget;

// Tells the user about task files that could not be written or read: once per sub-goal
// until a write works again, and as one message for a whole load.
class TaskFileReporter
{
public:
    TaskFileReporter(Prompt& prompt, QWidget* parent) : m_prompt(prompt), m_parent(parent) {}

    void report(const QString& key, const Result& result);
    void reportAll(const QStringList& failures);
    void forget() { m_reported.clear(); }

private:
    Prompt& m_prompt;
    QWidget* m_parent;
    QSet<QString> m_reported;
};
