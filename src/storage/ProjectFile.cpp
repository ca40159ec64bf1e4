#include "storage/ProjectFile.h"

#include "components/TextFile.h"
#include "storage/FileFingerprint.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

#include <charconv>
#include <cstring>
#include <functional>

#include <limits>
#include <optional>

namespace {

using namespace Qt::StringLiterals;

const QString ProjectSection = QStringLiteral("PROJECT");
const QString GoalsSection = QStringLiteral("GOALS");

void blankLine(char* from, char* end)
{
    for (; from < end; ++from) {
        if (*from == '\r' || *from == '\n')
            *from = ' ';
    }
}

// Line breaks inside a value become blanks. Eight bytes at a time, because hardly any value
// has one and the byte-by-byte scan was the slowest part of writing.
void blankLineBreaks(char* from, char* end)
{
    constexpr quint64 ones = 0x0101010101010101ULL;
    for (; end - from >= 8; from += 8) {
        quint64 word;
        std::memcpy(&word, from, 8);
        // Non-zero exactly when some byte is below 0x0E, which CR and LF are.
        if ((word - ones * 0x0E) & ~word & (ones * 0x80))
            blankLine(from, from + 8);
    }
    blankLine(from, end);
}

// Writes the file's lines straight into UTF-8, handing them on in blocks: a project can
// hold tens of thousands of task lines, and one buffer for the whole file costs more in
// fresh memory than the writing itself. A plain buffer with a write position, because
// growing a QByteArray line by line cost more than the encoding.
class LineWriter
{
public:
    using Sink = std::function<bool(QByteArrayView)>;
    static constexpr qsizetype Block = 256 * 1024;

    explicit LineWriter(Sink sink)
        : m_sink(std::move(sink)), m_buffer(Block + 256, Qt::Uninitialized)
    {
    }

    LineWriter& add(QLatin1StringView ascii)
    {
        char* at = room(ascii.size());
        std::memcpy(at, ascii.data(), size_t(ascii.size()));
        m_used += ascii.size();
        return *this;
    }
    LineWriter& add(qint64 number)
    {
        char* at = room(24);
        m_used = std::to_chars(at, at + 24, number).ptr - m_buffer.constData();
        return *this;
    }
    // A value never ends its line early: line breaks inside it become blanks.
    LineWriter& value(QStringView text)
    {
        char* at = room(m_encoder.requiredSpace(text.size()));
        char* end = m_encoder.appendToBuffer(at, text);
        blankLineBreaks(at, end);
        m_used = end - m_buffer.constData();
        return *this;
    }
    void endLine()
    {
        add("\r\n"_L1);
        if (m_used >= Block)
            flush();
    }
    // False once the sink has refused a block.
    bool flush()
    {
        if (m_ok && m_used > 0)
            m_ok = m_sink(QByteArrayView(m_buffer.constData(), m_used));
        m_used = 0;
        return m_ok;
    }

private:
    // Space for at least `bytes` more at the write position; a value longer than a block
    // gets a buffer of its own size.
    char* room(qsizetype bytes)
    {
        if (m_buffer.size() - m_used < bytes) {
            flush();
            if (m_buffer.size() < bytes)
                m_buffer.resize(bytes);
        }
        return m_buffer.data() + m_used;
    }

    Sink m_sink;
    QByteArray m_buffer;
    qsizetype m_used = 0;
    QStringEncoder m_encoder{QStringConverter::Utf8};
    bool m_ok = true;
};

bool writeLines(const ProjectData& project, LineWriter& out)
{
    out.add("[Project]"_L1).endLine();
    out.add("Name="_L1).value(project.name).endLine();
    out.add("[Goals]"_L1).endLine();
    qint64 i = 0;
    for (const SubGoalRecord& goal : project.goals) {
        ++i;
        out.add("Goal"_L1).add(i).add("="_L1).value(goal.key).endLine();
        out.add("Goal"_L1).add(i).add("_Name="_L1).value(goal.name).endLine();
        out.add("Goal"_L1).add(i).add("_Due="_L1).value(goal.due).endLine();
        out.add("Goal"_L1).add(i).add("_Tasks="_L1).add(goal.tasks.size()).endLine();
        qint64 m = 0;
        for (const QString& task : goal.tasks)
            out.add("Goal"_L1).add(i).add("_Task"_L1).add(++m).add("="_L1).value(task).endLine();
    }
    return out.flush();
}

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
    QByteArray bytes;
    LineWriter out([&](QByteArrayView block) {
        bytes.append(block);
        return true;
    });
    writeLines(project, out);
    return bytes;
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
    if (info.isFile() && info.size() > ProjectFile::MaxFileSize)
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
    const auto ini = readIni(path);
    if (!ini.ok())
        return {{}, ini.error};
    return fromIni(ini.value);
}

Expected<ProjectData> ProjectFile::read(const QString& path, FileFingerprint& known)
{
    const QFileInfo info(path);
    const QDateTime time = info.fileTime(QFileDevice::FileModificationTime).toUTC();
    const auto bytes = readProjectBytes(info);
    if (!bytes.ok())
        return {{}, bytes.error};
    known = FileFingerprint::read(path, bytes.value, time);
    return parse(bytes.value);
}

Expected<ProjectData> ProjectFile::fromIni(const IniDocument& ini)
{
    ProjectData project;
    project.name = ini.value(ProjectSection, QStringLiteral("Name"));
    for (int n = 1; n <= MaxGoals; ++n) {
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

Result ProjectFile::write(const QString& path, const QByteArray& bytes)
{
    return writeWith(path, [&](QSaveFile& file) { return file.write(bytes) == bytes.size(); });
}

Result ProjectFile::save(const QString& path, const ProjectData& project)
{
    return writeWith(path, [&](QSaveFile& file) {
        LineWriter out([&](QByteArrayView block) {
            return file.write(block.data(), block.size()) == block.size();
        });
        return writeLines(project, out);
    });
}

Result ProjectFile::save(const QString& path, const ProjectData& project, FileFingerprint& written)
{
    // Hashed on the way out instead of read back after the rename.
    FileFingerprint::Hasher hasher;
    const Result result = writeWith(path, [&](QSaveFile& file) {
        LineWriter out([&](QByteArrayView block) {
            hasher.add(block);
            return file.write(block.data(), block.size()) == block.size();
        });
        return writeLines(project, out);
    });
    if (result.ok())
        written = FileFingerprint::written(path, hasher);
    return result;
}

Result ProjectFile::writeWith(const QString& path, const std::function<bool(QSaveFile&)>& fill)
{
    if (QFileInfo(path).isDir())
        return Result::failure(QStringLiteral("a folder of that name is in the way"));
    QSaveFile file(path);
    // Unbuffered, so that every failed write shows at once: commit() would not report a
    // failure of its own final flush and would then replace the good file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return Result::failure(file.errorString());
    if (!fill(file)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return Result::failure(why);
    }
    if (!file.commit())
        return Result::failure(file.errorString());
    return Result::success();
}

bool ProjectFile::isSafeKey(const QString& key)
{
    if (key.isEmpty() || key.startsWith(u'.') || key.size() > 200)
        return false;
    for (const QChar c : key) {
        if (c == u'/' || c == u'\\' || c.unicode() < 32 || c.unicode() == 127)
            return false;
    }
    return true;
}
