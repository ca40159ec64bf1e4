#pragma once

#include <QObject>
#include <QSettings>

class QMenu;

// The projects most recently opened or saved, newest first, kept in the user's settings and
// shown as a submenu: file names, with the folder as tooltip, and "Clear List".
class RecentProjects : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxFiles = 8;

    RecentProjects(const QString& settingsFile, QMenu* menu);

    QStringList files() const;
    void add(const QString& path);
    void remove(const QString& path);

signals:
    void chosen(const QString& path);

private:
    void store(const QStringList& files);
    void rebuild();

    QSettings m_settings;
    QMenu* m_menu;
};
