#include "ui/format_text.h"

#include "ui/text_bridge.h"

QString FormatText(const QString& format, std::initializer_list<QString> arguments)
{
    QString result;
    result.reserve(format.size() + 16);
    auto next = arguments.begin();
    for (qsizetype at = 0; at < format.size(); ++at)
    {
        const QChar c = format[at];
        if (c != '%' || at + 1 >= format.size())
        {
            result += c;
            continue;
        }
        if (format[at + 1] == '%')
        {
            result += '%';
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        if (format[end] == 'l' && end + 1 < format.size())
            ++end;
        const QChar conversion = format[end];
        if ((conversion == 'd' || conversion == 'u' || conversion == 's') && next != arguments.end())
        {
            result += *next++;
            at = end;
            continue;
        }
        result += c;
    }
    return result;
}

QString FormatLookup(const char* key, std::initializer_list<QString> arguments)
{
    return FormatText(LookupQText(key), arguments);
}
