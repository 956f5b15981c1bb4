#include "support/text_convert.h"

#include <bit>
#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <memory>

static_assert(std::endian::native == std::endian::little, "wide text is converted as UTF-16LE");

namespace
{

struct IconvCloser
{
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

// Converts byte strings between two iconv codesets, replacing what cannot be converted.
std::string Convert(std::string_view input, const char* to, const char* from, std::string_view replacement)
{
    // TRANSLIT turns characters the target cannot hold into '?' instead of failing on them.
    const std::string target = std::string(to) + "//TRANSLIT";
    iconv_t raw = iconv_open(target.c_str(), from);
    if (raw == reinterpret_cast<iconv_t>(-1))
        return std::string(input);
    std::unique_ptr<void, IconvCloser> handle(raw);

    std::string output;
    output.reserve(input.size() * 2 + 8);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0)
    {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t result = iconv(raw, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (result != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (truncated sequence at the end): skip one unit, mark it, go on.
        const size_t unit = std::string_view(from) == "UTF-16LE" ? 2 : 1;
        const size_t skip = inLeft < unit ? inLeft : unit;
        in += skip;
        inLeft -= skip;
        output.append(replacement);
    }
    return output;
}

std::string_view AsBytes(std::u16string_view text)
{
    return {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t)};
}

std::u16string FromBytes(const std::string& bytes)
{
    std::u16string result(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < result.size(); ++i)
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    return result;
}

const std::string_view kWideReplacement("\xFD\xFF", 2);

} // namespace

std::string LocalCodeset()
{
    const char* codeset = nl_langinfo(CODESET);
    const std::string_view name = codeset ? codeset : "";
    if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII")
        return "UTF-8";
    return std::string(name);
}

bool LocalCodesetIsUtf8()
{
    const std::string codeset = LocalCodeset();
    return codeset == "UTF-8" || codeset == "utf8" || codeset == "UTF8";
}

std::u16string Utf8ToWide(std::string_view text)
{
    return FromBytes(Convert(text, "UTF-16LE", "UTF-8", kWideReplacement));
}

std::string WideToUtf8(std::u16string_view text)
{
    return Convert(AsBytes(text), "UTF-8", "UTF-16LE", "?");
}

std::u16string LocalToWide(std::string_view text)
{
    return FromBytes(Convert(text, "UTF-16LE", LocalCodeset().c_str(), kWideReplacement));
}

std::string WideToLocal(std::u16string_view text)
{
    return Convert(AsBytes(text), LocalCodeset().c_str(), "UTF-16LE", "?");
}

std::string LocalToUtf8(std::string_view text)
{
    if (LocalCodesetIsUtf8())
        return std::string(text);
    return Convert(text, "UTF-8", LocalCodeset().c_str(), "?");
}

std::string Utf8ToLocal(std::string_view text)
{
    if (LocalCodesetIsUtf8())
        return std::string(text);
    return Convert(text, LocalCodeset().c_str(), "UTF-8", "?");
}
