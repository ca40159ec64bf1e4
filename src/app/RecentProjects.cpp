#include "app/RecentProjects.h"

#include "dialogs/Prompt.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {
const QString Key = QStringLiteral("recentProjects");
}

RecentProjects::RecentProjects(QSettings& settings, Prompt* prompt, QMenu* project, QAction* before)
    : QObject(project), m_settings(settings), m_prompt(prompt),
      m_menu(new QMenu(QStringLiteral("Open Recent"), project))
{
    m_menu->setObjectName(QStringLiteral("mnuOpenRecent"));
    m_menu->menuAction()->setObjectName(QStringLiteral("mnuOpenRecent"));
    project->insertMenu(before, m_menu);
    m_menu->setToolTipsVisible(true);
    rebuild();
}

QStringList RecentProjects::files() const
{
    return m_settings.value(Key).toStringList();
}

void RecentProjects::add(const QString& path)
{
    QStringList list = files();
    const QString file = QFileInfo(path).absoluteFilePath();
    list.removeAll(file);
    list.prepend(file);
    store(list.mid(0, MaxFiles));
}

void RecentProjects::remove(const QString& path)
{
    QStringList list = files();
    list.removeAll(path);
    store(list);
}

void RecentProjects::choose(const QString& path)
{
    if (QFileInfo::exists(path))
        return emit chosen(path);
    remove(path);
    m_prompt->inform(
        m_menu->parentWidget()->window(),
        QStringLiteral("The project \"%1\" is no longer there. It was taken off the list.")
            .arg(QDir::toNativeSeparators(path)),
        QStringLiteral("Open Recent"));
}

void RecentProjects::store(const QStringList& files)
{
    m_settings.setValue(Key, files);
    m_settings.sync();
    rebuild();
}

void RecentProjects::rebuild()
{
    m_menu->clear();
    const QStringList list = files();
    for (int i = 0; i < list.size(); ++i) {
        const QFileInfo file(list[i]);
        // "&" in a file name is text, not a menu letter.
        QString caption = file.fileName().replace(u'&', QStringLiteral("&&"));
        if (i < 9)
            caption = QStringLiteral("&%1 %2").arg(i + 1).arg(caption);
        QAction* action = m_menu->addAction(caption);
        action->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
        action->setToolTip(QDir::toNativeSeparators(file.absolutePath()));
        connect(action, &QAction::triggered, this, [this, path = list[i]] { choose(path); });
    }
    m_menu->addSeparator();
    QAction* clear = m_menu->addAction(QStringLiteral("Clear List"));
    clear->setObjectName(QStringLiteral("mnuClearRecent"));
    clear->setEnabled(!list.isEmpty());
    connect(clear, &QAction::triggered, this, [this] { store({}); });
}
