#pragma once

#include <QKeyEvent>
#include <QSet>

// A key release is an edit of a box only when the key's press reached that box too: the
// release of an Enter that closed a message box, or of Ctrl after a shortcut ran a
// command, lands in whatever box has the focus next and must not count there.
class KeyPressTracker
{
public:
    void pressed(const QKeyEvent* event) { m_down.insert(event->key()); }
    // True when the press of this key reached the box.
    bool released(const QKeyEvent* event)
    {
        // A held key repeats as release and press pairs; only the last release ends it.
        if (event->isAutoRepeat())
            return m_down.contains(event->key());
        return m_down.remove(event->key());
    }
    // Forgets every press, as when the box loses the focus or a command runs.
    void reset() { m_down.clear(); }

    // Keys that type a character; Delete carries a DEL character on X11 but types none.
    static bool producesCharacter(const QKeyEvent* event)
    {
        return !event->text().isEmpty() && event->key() != Qt::Key_Delete;
    }

private:
    QSet<int> m_down;
};
