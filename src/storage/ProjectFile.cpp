#include "storage/ProjectFile.h"

#include "components/TextFile.h"

#include <QRegularExpression>
#include <QStringEncoder>

#include <algorithm>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString ProjectSection = QStringLiteral("PROJECT");
const QString GoalsSection = QStringLiteral("GOALS");
// Anything larger is not a project a person wrote; refusing it keeps memory bounded.
constexpr qint64 MaxFileSize = 256 * 1024 * 1024;

// A key is used as a file name in the task folder, so it must stay inside it.
bool isSafeKey(const QString& key)
{
    if (key.isEmpty() || key.startsWith(u'.') || key.size() > 200)
        return false;
    for (const QChar c : key) {
        if (c == u'/' || c == u'\\' || c.unicode() < 32 || c.unicode() == 127)
            return false;
    }
    return true;
}

// A whole number, or one with a fraction that is rounded down; blanks around it are allowed.
// Unset: not a number. A count too large for a number reads as the largest one.
std::optional<qint64> parseCount(const QString& text, bool& negative)
{
    static const QRegularExpression form(QStringLiteral("^([+-]?)([0-9]*)(?:\\.([0-9]*))?$"));
    const QString trimmed = text.trimmed();
    const QRegularExpressionMatch number = form.match(trimmed);
    const QString whole = number.captured(2);
    if (trimmed.isEmpty())
        return 0;
    if (!number.hasMatch() || (whole.isEmpty() && number.captured(3).isEmpty()))
        return std::nullopt;
    bool fits = true;
    const qint64 value = whole.isEmpty() ? 0 : whole.toLongLong(&fits);
    negative = number.captured(1) == u"-" && (value > 0 || !fits);
    return fits ? value : std::numeric_limits<qint64>::max();
}

} // namespace

QByteArray ProjectFile::serialize(const ProjectData& project)
{
    // Values are appended in place, not copied first: the "save" and "recovery snapshot"
    // benchmark rows need that.
    QString out;
    const auto line = [&out](QStringView key, qint64 number, QStringView value) {
        out += key;
        if (number > 0)
            out += QString::number(number);
        out += u'=';
        const qsizetype start = out.size();
        out += value;
        // A value never ends its line early: line breaks inside it become blanks.
        if (value.contains(u'\r') || value.contains(u'\n'))
            std::replace_if(
                out.begin() + start, out.end(), [](QChar c) { return c == u'\r' || c == u'\n'; },
                u' ');
        out += u"\r\n";
    };
    out += u"[Project]\r\n";
    line(u"Name", 0, project.name);
    out += u"[Goals]\r\n";
    for (qsizetype i = 1; i <= project.goals.size(); ++i) {
        const SubGoalRecord& goal = project.goals.at(i - 1);
        const QString prefix = u"Goal"_s + QString::number(i);
        line(prefix, 0, goal.key);
        line(prefix + u"_Name"_s, 0, goal.name);
        line(prefix + u"_Due"_s, 0, goal.due);
        line(prefix + u"_Tasks"_s, 0, QString::number(goal.tasks.size()));
        const QString task = prefix + u"_Task"_s;
        for (qsizetype m = 1; m <= goal.tasks.size(); ++m)
            line(task, m, goal.tasks.at(m - 1));
    }
    // Stateless: a lone surrogate becomes U+FFFD where it stands.
    return QStringEncoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)(out);
}

Expected<IniDocument> ProjectFile::parseIni(const QByteArray& bytes)
{
    const bool utf16 = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    const bool nul = utf16 ? TextFile::decode(bytes).contains(QChar(u'\0')) : bytes.contains('\0');
    if (nul)
        return {{}, QStringLiteral("it is not a text file")};
    return {IniDocument::parse(bytes), {}};
}

namespace {

Expected<QByteArray> readProjectBytes(const QFileInfo& info)
{
    if (!info.exists())
        return {{}, QStringLiteral("the file does not exist")};
    if (info.isFile() && info.size() > MaxFileSize)
        return {{}, QStringLiteral("the file is too large to be a project")};
    return TextFile::readBytes(info.filePath());
}

} // namespace

Expected<IniDocument> ProjectFile::readIni(const QString& path)
{
    const auto bytes = readProjectBytes(QFileInfo(path));
    if (!bytes.ok())
        return {{}, bytes.error};
    return parseIni(bytes.value);
}

Expected<ProjectData> ProjectFile::parse(const QByteArray& bytes)
{
    const auto ini = parseIni(bytes);
    if (!ini.ok())
        return {{}, ini.error};
    return fromIni(ini.value);
}

Expected<ProjectData> ProjectFile::read(const QString& path, FileFingerprint& known)
{
    const QFileInfo info(path);
    const QDateTime time = info.fileTime(QFileDevice::FileModificationTime).toUTC();
    auto bytes = readProjectBytes(info);
    if (!bytes.ok())
        return {{}, bytes.error};
    known = FileFingerprint::read(path, bytes.value, time);
    const auto ini = parseIni(bytes.value);
    // The text is in the document now; the bytes need not stay for the rest of the reading.
    bytes = {};
    if (!ini.ok())
        return {{}, ini.error};
    return fromIni(ini.value);
}

Expected<ProjectData> ProjectFile::fromIni(const IniDocument& ini)
{
    // Notes or any other text must not be taken for a project and saved over; an empty file
    // is an empty project.
    if (ini.lineCount() > 0 && !ini.hasSection(ProjectSection) && !ini.hasSection(GoalsSection))
        return {{},
                QStringLiteral(
                    "it is not a project (it has neither a [Project] nor a [Goals] section)")};
    ProjectData project;
    project.name = ini.value(ProjectSection, QStringLiteral("Name"));
    for (int n = 1; n <= ProjectData::MaxGoals; ++n) {
        const QString prefix = QStringLiteral("Goal") + QString::number(n);
        SubGoalRecord goal;
        goal.key = ini.value(GoalsSection, prefix);
        if (goal.key.isEmpty())
            break;
        if (!isSafeKey(goal.key))
            return {{},
                    QStringLiteral("the key \"%1\" of sub-goal %2 is not a valid key")
                        .arg(goal.key)
                        .arg(n)};
        goal.name = ini.value(GoalsSection, prefix + QStringLiteral("_Name"));
        goal.due = ini.value(GoalsSection, prefix + QStringLiteral("_Due"));
        // "." is how the loader's list marks a sub-goal without a date; never a date.
        if (goal.due == u".")
            goal.due.clear();
        const QString countText = ini.value(GoalsSection, prefix + QStringLiteral("_Tasks"));
        bool negative = false;
        const std::optional<qint64> count = parseCount(countText, negative);
        const QString refused = !count     ? QStringLiteral("is not a number")
                                : negative ? QStringLiteral("is negative")
                                : *count > ini.lineCount()
                                    ? QStringLiteral("is larger than the file")
                                    : QString();
        if (!refused.isEmpty())
            return {{},
                    QStringLiteral("the task count \"%1\" of sub-goal %2 %3")
                        .arg(countText, QString::number(n), refused)};
        goal.tasks = ini.tasks(n, *count);
        project.goals.append(std::move(goal));
    }
    return {std::move(project), {}};
}

Result ProjectFile::save(const QString& path, const ProjectData& project, FileFingerprint& written)
{
    const QByteArray bytes = serialize(project);
    const Result result = TextFile::saveBytes(path, bytes, TextFile::Access::Shared);
    if (result.ok())
        written = FileFingerprint::read(path, bytes, FileFingerprint::modificationTime(path));
    return result;
}
