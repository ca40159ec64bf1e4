#pragma once

#include <QString>

// Outcome of a file operation: an empty error means success. Storage code never shows
// messages itself; the window decides what to tell the user.
struct Result
{
    QString error;

    bool ok() const { return error.isEmpty(); }
    static Result success() { return {}; }
    static Result failure(const QString& why)
    {
        return {why.isEmpty() ? QStringLiteral("unknown error") : why};
    }
};

template <typename T> struct Expected
{
    T value{};
    QString error;

    bool ok() const { return error.isEmpty(); }
};
