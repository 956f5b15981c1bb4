#include "cli/text_table.h"

#include <algorithm>
#include <cwchar>

size_t DisplayWidth(const std::string& text)
{
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
