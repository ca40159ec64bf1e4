#include "model/DueDateText.h"

QString DueDateText::fourDigitFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return format;
}

std::optional<QDate> DueDateText::parse(const QString& text, const QLocale& locale)
{
    if (text.isEmpty())
        return std::nullopt;
    if (const auto date = read(text, locale))
        return date;
    // Saved under another locale: the forms this program writes in common ones.
    if (const auto date = read(text, QLocale::c()))
        return date;
    if (const QDate date = QDate::fromString(text, QStringLiteral("yyyy-MM-dd")); date.isValid())
        return date;
    static const QLocale numeric[] = {QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::English, QLocale::UnitedKingdom),
                                      QLocale(QLocale::German, QLocale::Germany)};
    for (const QLocale& other : numeric) {
        if (const auto date = read(text, other))
            return date;
    }
    return std::nullopt;
}

std::optional<QDate> DueDateText::read(const QString& text, const QLocale& locale)
{
    const QString full = fourDigitFormat(locale);
    QString twoDigit = full;
    twoDigit.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    // Two digits first: the four-digit form would read "26" as the year 26.
    QDate date = locale.toDate(text, twoDigit);
    if (date.isValid()) {
        // Qt reads "yy" as 19yy; the old program's window is 1950..2049.
        if (date.year() < 1950)
            date = date.addYears(100);
        return date;
    }
    date = locale.toDate(text, full);
    return date.isValid() ? std::optional(date) : std::nullopt;
}
