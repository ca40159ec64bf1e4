#pragma once

#include "components/Result.h"
#include "components/TextFile.h"
#include "storage/FileFingerprint.h"
#include "storage/ProjectFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QString>

struct RecoverySnapshot
{
    ProjectData project;
    QString projectFile; // empty: the project was never saved
    // The version of projectFile the unsaved changes started from, so that a restored
    // project does not replace another program's change unasked.
    FileFingerprint base;

    bool operator==(const RecoverySnapshot&) const = default;
};

// The unsaved state of the open project, kept in the recovery folder while there are
// unsaved changes. It is a .gpj file with one more section naming the file the project
// belongs to and the version of it the changes started from, so Open reads it too. That section
// comes last and ends with a marker, so a file cut short anywhere is refused.
class RecoveryFile
{
public:
    static QString pathIn(const QString& recoveryFolder)
    {
        return QDir(recoveryFolder).filePath(QStringLiteral("recovery.gpj"));
    }

    static QByteArray serialize(const RecoverySnapshot& snapshot);
    static Expected<RecoverySnapshot> parse(const QByteArray& bytes);
    // Refused for everything the project reader refuses, and when the last section is
    // missing or incomplete.
    static Expected<RecoverySnapshot> read(const QString& path);
    // All or nothing, like a project save.
    static Result write(const QString& path, const RecoverySnapshot& snapshot)
    {
        // Temporary file and rename, without the wait for the disk a project save makes: this
        // runs every second while someone types, and the rename alone keeps it whole at a kill.
        return TextFile::saveBytes(path, serialize(snapshot));
    }

    // Renames the file to "<name>-<date>T<time>.gpj" beside it, with "-2", "-3"... when that
    // name is taken; an existing file is never replaced. Returns the new path.
    static Expected<QString> setAside(const QString& path, const QDateTime& now);
    // A missing file counts as removed.
    static Result remove(const QString& path)
    {
        QFile file(path);
        if (!file.exists() || file.remove())
            return Result::success();
        return Result::failure(file.errorString());
    }
    // A write cut off by a kill leaves its temporary file ("recovery.gpj.AbC123") beside the
    // file; nothing else empties the recovery folder, so start-up clears them.
    static void removeLeftovers(const QString& path);
};
