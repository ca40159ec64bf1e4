#pragma once

#include <QString>

// Checks on the bare project name typed into the save window. TooLong: the file name
// would be longer than the file system holds.
class FileNameRules
{
public:
    enum class Verdict
    {
        Ok,
        Empty,
        Invalid,
        TooLong
    };

    static Verdict check(const QString& name);
    // A project name as the name of a file outside the projects folder: what no common file
    // system takes becomes "_"; nothing usable left gives "Project".
    static QString exportName(const QString& projectName);
};
