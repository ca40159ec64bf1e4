#pragma once

#include <QObject>
#include <QSettings>

class Prompt;
class QAction;
class QMenu;

// The projects most recently opened or saved, newest first, kept in the user's settings and
// shown as the Open Recent submenu: file names, with the folder as tooltip, and "Clear List".
// A file that is gone is taken off the list with a message instead of being chosen.
class RecentProjects : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxFiles = 8;

    // The submenu goes into the project menu before the item `before`.
    RecentProjects(QSettings& settings, Prompt* prompt, QMenu* project, QAction* before);

    QStringList files() const;
    void add(const QString& path);
    void remove(const QString& path);

signals:
    void chosen(const QString& path);

private:
    void choose(const QString& path);
    void store(const QStringList& files);
    void rebuild();

    QSettings& m_settings;
    Prompt* m_prompt;
    QMenu* m_menu;
};
