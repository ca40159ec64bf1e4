#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

// An INI text parsed once into sections and keys. Names match without regard to case;
// the first occurrence of a section, and of a key within it, is the one read. Values are
// kept exactly as written.
class IniDocument
{
public:
    static IniDocument parse(QStringView text);

    // The value, or an empty text when the section or key is missing.
    QString value(QStringView section, QStringView key) const;
    bool contains(QStringView section, QStringView key) const;
    qsizetype lineCount() const { return m_lineCount; }

private:
    using Keys = QHash<QString, QString>;
    QHash<QString, Keys> m_sections;
    qsizetype m_lineCount = 0;
};
