#pragma once

#include <QString>
#include <QStringList>

class RandomSource;

// Small file and text helpers the windows share.
class Tools
{
public:
    // True when path names an existing folder (folder = true) or an existing file
    // (folder = false). A trailing "/" on a folder path is fine.
    static bool fileExists(const QString& path, bool folder);

    // The pieces of text between delimiters, in order; with a non-empty filter only the
    // pieces that contain it. A delimiter at the very end yields no empty last piece.
    static QStringList splitToList(const QString& text, const QString& delimiter,
                                   const QString& filter = {});

    // A number from 0 to bound, both included.
    static int randomNumber(int bound, RandomSource& source);
};
