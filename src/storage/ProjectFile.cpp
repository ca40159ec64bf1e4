#include "storage/ProjectFile.h"

#include "components/TextFile.h"
#include "storage/FileFingerprint.h"

#include <QFileInfo>
#include <QStringEncoder>

#include <limits>
#include <optional>

namespace {

using namespace Qt::StringLiterals;

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

// Lines of the file, built in one reserved QString and encoded once.
class Lines
{
public:
    explicit Lines(qsizetype units) { m_text.reserve(units); }

    Lines& operator<<(QStringView text)
    {
        m_text += text;
        return *this;
    }
    Lines& operator<<(qint64 number)
    {
        char16_t digits[20];
        qsizetype at = 20;
        do {
            digits[--at] = char16_t(u'0' + number % 10);
            number /= 10;
        } while (number > 0);
        m_text += QStringView(digits + at, 20 - at);
        return *this;
    }
    // A value never ends its line early: line breaks inside it become blanks.
    void endWith(QStringView value)
    {
        m_text += u'=';
        if (value.contains(u'\r') || value.contains(u'\n')) {
            QString blanked = value.toString();
            blanked.replace(u'\r', u' ').replace(u'\n', u' ');
            m_text += blanked;
        } else {
            m_text += value;
        }
        m_text += u"\r\n";
    }
    QByteArray bytes() const
    {
        // Stateless: a lone surrogate becomes U+FFFD where it stands.
        QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        return utf8(m_text);
    }

private:
    QString m_text;
};

struct Count
{
    std::optional<qint64> value; // unset: not a number
    bool negative = false;
};

// A whole number, or one with a fraction that is rounded down; blanks around it are allowed.
Count parseCount(const QString& text)
{
    const QStringView t = QStringView(text).trimmed();
    if (t.isEmpty())
        return {qint64(0)};
    qsizetype i = 0;
    bool negative = false;
    if (t.at(0) == u'+' || t.at(0) == u'-') {
        negative = t.at(0) == u'-';
        ++i;
    }
    qint64 whole = 0;
    bool digits = false;
    bool huge = false;
    for (; i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 128; ++i) {
        digits = true;
        if (whole > (std::numeric_limits<qint64>::max() - 9) / 10)
            huge = true;
        else
            whole = whole * 10 + (t.at(i).unicode() - u'0');
    }
    if (i < t.size() && t.at(i) == u'.') {
        ++i;
        for (; i < t.size() && t.at(i).isDigit() && t.at(i).unicode() < 128; ++i)
            digits = true;
    }
    if (!digits || i != t.size())
        return {};
    if (huge)
        whole = std::numeric_limits<qint64>::max();
    return {whole, negative && whole > 0};
}

} // namespace

QByteArray ProjectFile::serialize(const ProjectData& project)
{
    qsizetype units = 64 + project.name.size();
    for (const SubGoalRecord& goal : project.goals) {
        units += 128 + goal.name.size() + goal.due.size();
        for (const QString& task : goal.tasks)
            units += task.size() + 24;
    }
    Lines out(units);
    out << u"[Project]\r\nName";
    out.endWith(project.name);
    out << u"[Goals]\r\n";
    for (qint64 i = 1; i <= project.goals.size(); ++i) {
        const SubGoalRecord& goal = project.goals.at(i - 1);
        out << u"Goal" << i;
        out.endWith(goal.key);
        out << u"Goal" << i << u"_Name";
        out.endWith(goal.name);
        out << u"Goal" << i << u"_Due";
        out.endWith(goal.due);
        out << u"Goal" << i << u"_Tasks";
        out.endWith(QString::number(goal.tasks.size()));
        for (qint64 m = 1; m <= goal.tasks.size(); ++m) {
            out << u"Goal" << i << u"_Task" << m;
            out.endWith(goal.tasks.at(m - 1));
        }
    }
    return out.bytes();
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

Expected<ProjectData> ProjectFile::read(const QString& path)
{
    FileFingerprint known;
    return read(path, known);
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
        const Count count = parseCount(countText);
        if (!count.value)
            return {{},
                    QStringLiteral("the task count \"%1\" of sub-goal %2 is not a number")
                        .arg(countText)
                        .arg(n)};
        if (count.negative)
            return {{},
                    QStringLiteral("the task count \"%1\" of sub-goal %2 is negative")
                        .arg(countText)
                        .arg(n)};
        if (*count.value > ini.lineCount())
            return {{},
                    QStringLiteral("the task count \"%1\" of sub-goal %2 is larger than the file")
                        .arg(countText)
                        .arg(n)};
        goal.tasks = ini.tasks(n, *count.value);
        project.goals.append(std::move(goal));
    }
    return {std::move(project), {}};
}

Result ProjectFile::save(const QString& path, const ProjectData& project)
{
    FileFingerprint written;
    return save(path, project, written);
}

Result ProjectFile::save(const QString& path, const ProjectData& project, FileFingerprint& written)
{
    const QByteArray bytes = serialize(project);
    const Result result = TextFile::saveBytes(path, bytes, TextFile::Access::Shared);
    if (result.ok())
        written = FileFingerprint::read(path, bytes, FileFingerprint::modificationTime(path));
    return result;
}
