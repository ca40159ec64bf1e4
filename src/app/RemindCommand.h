#pragma once

class Clock;
class QTextStream;
class Workspace;

// aimwell --remind: one notification for each project in the projects folder that has
// sub-goals needing attention, the same lines on out, no window. Reads the projects and
// never writes them; takes no lock, so it runs beside an open window. Returns the exit
// status: 1 when the folder cannot be read.
int remindOfDueDates(const Workspace& workspace, const Clock& clock, QTextStream& out,
                     QTextStream& err);
