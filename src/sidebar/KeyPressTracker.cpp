#include "sidebar/KeyPressTracker.h"

#include <QKeyEvent>

bool KeyPressTracker::released(const QKeyEvent* event)
{
    // A held key repeats as release and press pairs; only the last release ends it.
    if (event->isAutoRepeat())
        return m_down.contains(event->key());
    return m_down.remove(event->key());
}
