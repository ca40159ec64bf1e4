#include "storage/RecoveryFile.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString Section = u"Recovery"_s;

// A value may not hold a line break, but a path may; "%" is encoded too, so that decoding
// gives back exactly the path that was written.
QString encodePath(QString path)
{
    return path.replace(u'%', u"%25"_s).replace(u'\r', u"%0D"_s).replace(u'\n', u"%0A"_s);
}

Expected<RecoverySnapshot> fromIni(const Expected<IniDocument>& ini)
{
    if (!ini.ok())
        return {{}, ini.error};
    if (ini.value.value(Section, u"Complete") != u"yes")
        return {{}, u"it is not a complete recovery file"_s};
    auto project = ProjectFile::fromIni(ini.value);
    if (!project.ok())
        return {{}, project.error};
    const QString file = QUrl::fromPercentEncoding(ini.value.value(Section, u"File").toUtf8());
    return {{std::move(project.value), file,
             FileFingerprint::fromText(ini.value.value(Section, u"Base"))},
            {}};
}

} // namespace

QByteArray RecoveryFile::serialize(const RecoverySnapshot& snapshot)
{
    const QString trailer = u"[Recovery]\r\nFile="_s + encodePath(snapshot.projectFile) +
                            u"\r\nBase="_s + snapshot.base.toText() + u"\r\nComplete=yes\r\n"_s;
    return ProjectFile::serialize(snapshot.project) + trailer.toUtf8();
}

Expected<RecoverySnapshot> RecoveryFile::parse(const QByteArray& bytes)
{
    return fromIni(ProjectFile::parseIni(bytes));
}

Expected<RecoverySnapshot> RecoveryFile::read(const QString& path)
{
    return fromIni(ProjectFile::readIni(path));
}

Expected<QString> RecoveryFile::setAside(const QString& path, const QDateTime& now)
{
    return TextFile::setAside(
        path, QFileInfo(path).completeBaseName() + u'-' + now.toString(u"yyyy-MM-dd'T'HH-mm-ss"_s),
        u".gpj"_s);
}

void RecoveryFile::removeLeftovers(const QString& path)
{
    const QFileInfo info(path);
    const QString prefix = info.fileName() + u'.';
    QDir dir = info.dir();
    const QStringList names =
        dir.entryList({prefix + u"??????"_s}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        dir.remove(name);
}
