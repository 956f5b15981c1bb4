#include "ui/text_bridge.h"

#include "support/language.h"
#include "support/text_convert.h"

QString LocalToQString(std::string_view text)
{
    if (LocalCodesetIsUtf8())
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    const std::u16string wide = LocalToWide(text);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

std::string QStringToLocal(const QString& text)
{
    if (LocalCodesetIsUtf8())
        return text.toStdString();
    return WideToLocal(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

QString LookupQText(std::string_view key)
{
    return LocalToQString(LookupText(key));
}

QString LookupQText(const QString& key)
{
    return LookupQText(QStringToLocal(key));
}

QString LookupQText(const char* key)
{
    return LookupQText(std::string_view(key == nullptr ? "" : key));
}
