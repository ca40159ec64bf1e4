#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

// A key, or keys, and what it does: a line of the Keyboard Shortcuts window.
struct KeyHelp
{
    QString keys;
    QString what;

    // The keys as the platform writes them.
    static QString keysText(const QList<QKeySequence>& keys)
    {
        return QKeySequence::listToString(keys, QKeySequence::NativeText);
    }
};
