// Local (locale codeset) text of the core to and from Qt strings, and the language lookup for widgets.
#pragma once

#include <string>
#include <string_view>

#include <QString>

QString LocalToQString(std::string_view text);
std::string QStringToLocal(const QString& text);

// LookupText for a key the program writes in English.
QString LookupQText(std::string_view key);
QString LookupQText(const QString& key);
QString LookupQText(const char* key);
