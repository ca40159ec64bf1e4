#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class Project;
class QMenu;
class QWidget;

// Cut, Copy, Paste and Select All act on the text box with the focus, and are enabled only
// when they can act there. Mark Done follows, enabled while a sub-goal is selected.
class EditActions : public QObject
{
    Q_OBJECT

public:
    EditActions(QMenu* edit, const Project& project, std::function<void()> markDone);

private:
    void follow(QWidget* focused);
    void update();
    void run(const char* slot);

    QPointer<QWidget> m_box;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QAction* m_selectAll;
    QMetaObject::Connection m_selection;
    QMetaObject::Connection m_text;
};
