#include "sidebar/KeyPressTracker.h"

#include <QKeyEvent>

void KeyPressTracker::pressed(const QKeyEvent* event)
{
    m_down.insert(event->key());
}

bool KeyPressTracker::released(const QKeyEvent* event)
{
    // A held key repeats as release and press pairs; only the last release ends it.
    if (event->isAutoRepeat())
        return m_down.contains(event->key());
    return m_down.remove(event->key());
}

bool KeyPressTracker::producesCharacter(const QKeyEvent* event)
{
    return !event->text().isEmpty() && event->key() != Qt::Key_Delete;
}
