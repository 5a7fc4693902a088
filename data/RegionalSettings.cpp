#include "RegionalSettings.h"

#include <clocale>
#include <langinfo.h>

RegionalSettings& RegionalSettings::current()
{
    static RegionalSettings settings = fromLocale();
    return settings;
}

RegionalSettings RegionalSettings::fromDateFormat(const std::string& format)
{
    RegionalSettings settings;
    std::string shortFormat;
    bool separatorSeen = false;
    for (size_t i = 0; i < format.size(); ++i) {
        char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            shortFormat += c;
            if (!separatorSeen && c != ' ') {
                settings.dateSeparator = c;
                separatorSeen = true;
            }
            continue;
        }
        switch (format[++i]) {
        case 'd':
        case 'e':
            shortFormat += "dd";
            break;
        case 'm':
            shortFormat += "MM";
            break;
        // Four digits even where the locale writes two: a birth date shown
        // as "17/08/45" would be read back as 2045 and stored so.
        case 'y':
        case 'Y':
            shortFormat += "yyyy";
            break;
        default:
            break;
        }
    }
    if (!shortFormat.empty())
        settings.shortDateFormat = shortFormat;
    return settings;
}

RegionalSettings RegionalSettings::fromLocale()
{
    // Query without disturbing the process's own locale (numbers stay "C").
    locale_t locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (!locale)
        locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    RegionalSettings settings = fromDateFormat(nl_langinfo_l(D_FMT, locale));
    const char* measurement = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, locale);
    if (measurement && measurement[0] == 2)
        settings.measurement = Measurement::US;
    settings.timeSeparator = ':';
    freelocale(locale);
    return settings;
}
