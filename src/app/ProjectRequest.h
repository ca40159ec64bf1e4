#pragma once

#include <QString>

class MainWindow;

// A project handed over on the command line or by a second start: the window comes to
// the front and opens it as Open does. An empty path only brings the window forward.
void openRequestedProject(MainWindow* window, const QString& path);
