#pragma once

#include <QString>

// Checks on the bare project name typed into the save window.
class FileNameRules
{
public:
    enum class Verdict
    {
        Ok,
        Empty,
        Invalid
    };

    static Verdict check(const QString& name);
};
