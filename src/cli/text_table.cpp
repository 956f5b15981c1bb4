#include "cli/text_table.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <locale.h>

#include "support/text_convert.h"

namespace
{

// In a plain ASCII locale (no LANG, as under cron or on a fresh machine) the texts are UTF-8
// anyway, but the C library would read them byte by byte and know no character widths. There
// they are measured in C.UTF-8, which every Debian system has, for this thread only.
class CUtf8Measuring
{
public:
    CUtf8Measuring()
    {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
        if (utf8 && MB_CUR_MAX == 1 && LocalCodesetIsUtf8())
            m_previous = uselocale(utf8);
    }
    ~CUtf8Measuring()
    {
        if (m_previous)
            uselocale(m_previous);
    }
    CUtf8Measuring(const CUtf8Measuring&) = delete;
    CUtf8Measuring& operator=(const CUtf8Measuring&) = delete;

private:
    locale_t m_previous = locale_t{};
};

} // namespace

size_t DisplayWidth(const std::string& text)
{
    const CUtf8Measuring measuring;
    std::mbstate_t state{};
    size_t width = 0;
    const char* at = text.data();
    const char* end = text.data() + text.size();
    while (at < end)
    {
        wchar_t character = 0;
        const size_t used = std::mbrtowc(&character, at, static_cast<size_t>(end - at), &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2))
        {
            // Not a character of the codeset: one column, as a terminal shows a replacement.
            state = {};
            ++width;
            ++at;
            continue;
        }
        const int columns = wcwidth(character);
        width += columns > 0 ? static_cast<size_t>(columns) : 0;
        at += used == 0 ? 1 : used;
    }
    return width;
}

std::string FormatTextTable(const TextRow& header, const std::vector<TextRow>& rows)
{
    std::vector<size_t> widths(header.size(), 0);
    auto measure = [&widths](const TextRow& row)
    {
        for (size_t c = 0; c < row.size() && c < widths.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    };
    measure(header);
    for (const TextRow& row : rows)
        measure(row);
    std::string output;
    auto write = [&](const TextRow& row)
    {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c)
        {
            const std::string cell = c < row.size() ? row[c] : "";
            line += cell;
            if (c + 1 < widths.size())
                line += std::string(widths[c] - DisplayWidth(cell) + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        output += line + "\n";
    };
    write(header);
    for (const TextRow& row : rows)
        write(row);
    return output;
}

std::string FormatCsv(const TextRow& header, const std::vector<TextRow>& rows)
{
    std::string output;
    auto write = [&output](const TextRow& row)
    {
        for (size_t c = 0; c < row.size(); ++c)
        {
            const std::string& cell = row[c];
            if (c > 0)
                output += ',';
            if (cell.find_first_of(",\"\r\n") == std::string::npos)
            {
                output += cell;
                continue;
            }
            output += '"';
            for (char character : cell)
            {
                if (character == '"')
                    output += '"';
                output += character;
            }
            output += '"';
        }
        output += "\r\n";
    };
    write(header);
    for (const TextRow& row : rows)
        write(row);
    return output;
}
