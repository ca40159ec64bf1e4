#pragma once

#include "components/Result.h"
#include "model/ProjectData.h"
#include "storage/FileFingerprint.h"
#include "storage/IniDocument.h"

#include <QByteArray>

// The .gpj project file: INI-style text, UTF-8, CR LF after every line.
class ProjectFile
{
public:
    static QByteArray serialize(const ProjectData& project);

    // Reads and checks a whole file; an error names the reason the file is refused.
    static Expected<IniDocument> parseIni(const QByteArray& bytes);
    static Expected<IniDocument> readIni(const QString& path);
    static Expected<ProjectData> fromIni(const IniDocument& ini);
    static Expected<ProjectData> parse(const QByteArray& bytes);
    static Expected<ProjectData> read(const QString& path)
    {
        FileFingerprint known;
        return read(path, known);
    }
    // The same, and the fingerprint of the bytes read, so that the file is read once.
    static Expected<ProjectData> read(const QString& path, FileFingerprint& known);

    // All or nothing: the old file stays untouched unless every byte reached the disk.
    static Result save(const QString& path, const ProjectData& project)
    {
        FileFingerprint written;
        return save(path, project, written);
    }
    // The same, and the fingerprint of the file as written, so that our own save is not
    // taken for another program's change.
    static Result save(const QString& path, const ProjectData& project, FileFingerprint& written);
};
