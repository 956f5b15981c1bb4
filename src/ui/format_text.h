// printf-style formats from the language files, filled without printf: a translation whose
// conversions do not match the arguments shows wrong text, never crashes.
#pragma once

#include <initializer_list>

#include <QString>

// Replaces each %d, %u, %s (and %ld, %lu) in order with the next argument and "%%" with "%";
// conversions without an argument are left as they are.
QString FormatText(const QString& format, std::initializer_list<QString> arguments);

// The language text of key, formatted.
QString FormatLookup(const char* key, std::initializer_list<QString> arguments);
