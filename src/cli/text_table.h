// Rows of texts printed as an aligned table (by display width, so Chinese names line up) or as CSV.
#pragma once

#include <string>
#include <vector>

using TextRow = std::vector<std::string>;

// Columns padded to their widest cell, two spaces apart, the header first. Texts are in the
// locale's codeset.
std::string FormatTextTable(const TextRow& header, const std::vector<TextRow>& rows);

// RFC 4180: fields with a comma, quote or line break are quoted, quotes doubled; lines end in CRLF.
std::string FormatCsv(const TextRow& header, const std::vector<TextRow>& rows);

// Terminal columns the text takes (wide characters two, combining ones none).
size_t DisplayWidth(const std::string& text);
