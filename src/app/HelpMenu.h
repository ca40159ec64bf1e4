#pragma once

#include "widgets/KeyHelp.h"

#include <functional>

class Prompt;
class QMenuBar;
class QWidget;
class Workspace;

// The Help menu: About, and the list of keyboard shortcuts. Meant to be added last.
void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace,
                 std::function<void()> openProjectsFolder);

// Every key the window answers: the menus' letters, every item's shortcuts, and the keys of
// the dashboard and the sidebar, read from where they are defined so the list cannot drift.
QList<KeyHelp> keyboardShortcuts(const QMenuBar* bar);
