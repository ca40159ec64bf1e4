#include "storage/IniDocument.h"

#include "components/TextFile.h"

#include <QSet>
#include <QStringDecoder>

#include <cstring>

namespace {

const QString GoalsSection = QStringLiteral("goals");

bool isAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView bytes)
{
    while (!bytes.isEmpty() && isBlank(bytes.front()))
        bytes = bytes.sliced(1);
    while (!bytes.isEmpty() && isBlank(bytes.back()))
        bytes.chop(1);
    return bytes;
}

// Parses a decimal number at the start of text, moving past it. Keys are matched as text,
// so a leading zero makes another key, not the same number.
bool takeNumber(QByteArrayView& text, qint64& number)
{
    qsizetype i = 0;
    number = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i < 18)
        number = number * 10 + (text[i++] - '0');
    if (i == 0 || text[0] == '0' || (i < text.size() && text[i] >= '0' && text[i] <= '9'))
        return false;
    text = text.sliced(i);
    return true;
}

bool takePrefix(QByteArrayView& text, const char* prefix)
{
    const qsizetype n = qsizetype(std::strlen(prefix));
    if (text.size() < n || qstrnicmp(text.data(), prefix, n) != 0)
        return false;
    text = text.sliced(n);
    return true;
}

// "GoalN_TaskM", in any letter case, with N and M decimal.
bool taskKey(QByteArrayView key, qint64& goal, qint64& line)
{
    return takePrefix(key, "goal") && takeNumber(key, goal) && takePrefix(key, "_task") &&
           takeNumber(key, line) && key.isEmpty();
}

bool taskKey(QStringView key, qint64& goal, qint64& line)
{
    const QByteArray latin = key.trimmed().toLatin1();
    return taskKey(QByteArrayView(latin), goal, line);
}

class Decoder
{
public:
    explicit Decoder(bool utf8)
        : m_decoder(utf8 ? QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless)
                         : QStringDecoder("windows-1252"))
    {
    }

    QString operator()(QByteArrayView bytes)
    {
        if (isAscii(bytes))
            return QString::fromLatin1(bytes);
        if (!m_decoder.isValid())
            return QString::fromLatin1(bytes);
        QString text = m_decoder(bytes);
        if (m_decoder.hasError())
            m_failed = true;
        return text;
    }
    bool failed() const { return m_failed; }

private:
    QStringDecoder m_decoder;
    bool m_failed = false;
};

QString folded(Decoder& decode, QByteArrayView name)
{
    return decode(trimmed(name)).toCaseFolded();
}

} // namespace

IniDocument IniDocument::parse(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        // Rare enough to take the long way: read as text, then as UTF-8 bytes.
        const QByteArray utf8 = TextFile::decode(bytes.toByteArray()).toUtf8();
        IniDocument doc;
        doc.read(utf8, Encoding::Utf8);
        return doc;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    IniDocument doc;
    if (!doc.read(bytes, Encoding::Utf8)) {
        doc = IniDocument();
        doc.read(bytes, Encoding::Windows1252);
    }
    return doc;
}

bool IniDocument::read(QByteArrayView bytes, Encoding encoding)
{
    Decoder decode(encoding == Encoding::Utf8);
    m_lineCount =
        TextFile::countLineFeeds(bytes) + (!bytes.isEmpty() && !bytes.endsWith('\n') ? 1 : 0);
    QSet<QString> seenSections;
    QHash<QString, QString>* current = nullptr; // null: before any section, or in a repeat
    bool inGoals = false;

    const char* from = bytes.data();
    const char* const end = from + bytes.size();
    while (from < end) {
        const char* lf = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from)));
        QByteArrayView line(from, (lf ? lf : end) - from);
        from = lf ? lf + 1 : end;
        if (line.endsWith('\r'))
            line.chop(1);

        const QByteArrayView text = trimmed(line);
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            if (close < 0)
                continue;
            const QString name = folded(decode, text.sliced(1, close - 1));
            if (seenSections.contains(name)) {
                current = nullptr;
                inGoals = false;
            } else {
                seenSections.insert(name);
                current = &m_sections[name];
                inGoals = name == GoalsSection;
            }
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!current || equals < 0) {
            if (!isAscii(line))
                decode(line); // only to learn whether the file is valid UTF-8
            continue;
        }
        const QByteArrayView keyBytes = trimmed(line.first(equals));
        const QByteArrayView valueBytes = line.sliced(equals + 1);
        qint64 goal = 0;
        qint64 number = 0;
        if (inGoals && taskKey(keyBytes, goal, number) && goal >= 1 &&
            goal <= ProjectData::MaxGoals && number >= 1 && number <= m_lineCount) {
            Tasks& tasks = m_tasks[goal - 1];
            if (number > 2 * tasks.lines.size() + 4096) {
                if (!tasks.far.contains(number))
                    tasks.far.insert(number, decode(valueBytes).replace(u'\r', u' '));
                continue;
            }
            if (tasks.lines.size() < number) {
                tasks.lines.resize(number);
                tasks.seen.resize(number);
            }
            if (!tasks.seen[number - 1]) {
                tasks.seen[number - 1] = true;
                tasks.lines[number - 1] = decode(valueBytes).replace(u'\r', u' ');
            }
            continue;
        }
        const QString key = folded(decode, keyBytes);
        if (key.isEmpty() || key.startsWith(u';') || current->contains(key))
            continue;
        current->insert(key, decode(valueBytes).replace(u'\r', u' '));
    }
    return !decode.failed();
}

bool IniDocument::hasSection(QStringView section) const
{
    return m_sections.contains(section.trimmed().toString().toCaseFolded());
}

QString IniDocument::value(QStringView section, QStringView key) const
{
    const QString sectionName = section.trimmed().toString().toCaseFolded();
    qint64 goal = 0;
    qint64 number = 0;
    if (sectionName == GoalsSection && taskKey(key, goal, number) && goal >= 1 &&
        goal <= ProjectData::MaxGoals) {
        const Tasks& tasks = m_tasks[goal - 1];
        if (number >= 1 && number <= tasks.lines.size() && tasks.seen[number - 1])
            return tasks.lines[number - 1];
        return tasks.far.value(number);
    }
    const auto s = m_sections.constFind(sectionName);
    if (s == m_sections.cend())
        return {};
    return s->value(key.trimmed().toString().toCaseFolded());
}

QStringList IniDocument::tasks(int goal, qsizetype count) const
{
    const Tasks& tasks = m_tasks[goal - 1];
    QStringList lines = tasks.lines.mid(0, count);
    lines.resize(count);
    if (!tasks.far.isEmpty()) {
        for (qsizetype m = 0; m < count; ++m) {
            if (m >= tasks.seen.size() || !tasks.seen[m])
                lines[m] = tasks.far.value(m + 1);
        }
    }
    return lines;
}
