#include "storage/IniDocument.h"

#include "components/TextFile.h"

#include <QSet>

namespace {

QString folded(QStringView name)
{
    return name.trimmed().toString().toCaseFolded();
}

} // namespace

IniDocument IniDocument::parse(QStringView text)
{
    IniDocument doc;
    QSet<QString> seenSections;
    Keys* current = nullptr; // null: before any section, or inside a repeated one
    TextFile::forEachLine(text, [&](QStringView line) {
        ++doc.m_lineCount;

        const QStringView trimmed = line.trimmed();
        if (trimmed.startsWith(u'[')) {
            const qsizetype close = trimmed.indexOf(u']');
            if (close < 0)
                return;
            const QString name = folded(trimmed.mid(1, close - 1));
            if (seenSections.contains(name)) {
                current = nullptr;
            } else {
                seenSections.insert(name);
                current = &doc.m_sections[name];
            }
            return;
        }
        if (!current)
            return;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            return;
        const QString key = folded(line.left(equals));
        if (key.isEmpty() || key.startsWith(u';'))
            return;
        if (!current->contains(key))
            current->insert(key, line.mid(equals + 1).toString());
    });
    return doc;
}

QString IniDocument::value(QStringView section, QStringView key) const
{
    const auto s = m_sections.constFind(folded(section));
    if (s == m_sections.cend())
        return {};
    return s->value(folded(key));
}

bool IniDocument::contains(QStringView section, QStringView key) const
{
    const auto s = m_sections.constFind(folded(section));
    return s != m_sections.cend() && s->contains(folded(key));
}
