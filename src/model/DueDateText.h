#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

#include <optional>

// The text a due date is shown and stored as: the locale's short date form, always with a
// four-digit year so that it reads back into the right century.
class DueDateText
{
public:
    static QString format(QDate date, const QLocale& locale = QLocale())
    {
        return locale.toString(date, fourDigitFormat(locale));
    }
    // Reads a stored text back: in the locale's form, else in a form written under another
    // locale (English month names, yyyy-MM-dd, the numeric forms of common locales); the
    // first that reads wins. A two-digit year (old files) is read as 1950 to 2049.
    static std::optional<QDate> parse(const QString& text, const QLocale& locale = QLocale());

private:
    static std::optional<QDate> read(const QString& text, const QLocale& locale);
    static QString fourDigitFormat(const QLocale& locale);
};
