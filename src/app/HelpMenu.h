#pragma once

#include <QString>

#include <functional>

class Prompt;
class QMenuBar;
class QWidget;
class Workspace;

// The Help menu: About, and the list of keyboard shortcuts. Meant to be added last.
void addHelpMenu(QMenuBar* bar, QWidget* parent, const Workspace& workspace, Prompt* prompt,
                 std::function<void()> openProjectsFolder);

QString keyboardShortcutsText();
