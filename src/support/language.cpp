#include "support/language.h"

#include <array>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <sys/stat.h>
#include <unordered_map>
#include <utility>

#include "support/profile_file.h"

namespace
{

constexpr size_t kTranslationLimit = 1022;

struct LanguageState
{
    std::string programDirectory;
    uint32_t lcid = kLcidEnglish;
    std::string name = "English";
    std::string filePath;
};

// The parsed language file, kept while the file on disk is unchanged.
struct LanguageCache
{
    std::mutex lock;
    std::string path;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    bool settled = false;
    std::unordered_map<std::string, std::string> texts;
};

LanguageState& State()
{
    static LanguageState state;
    return state;
}

LanguageCache& Cache()
{
    static LanguageCache cache;
    return cache;
}

const std::array<std::pair<const char*, uint32_t>, 24> kLocaleTable = {{
    {"zh_CN", 2052}, {"zh_SG", 2052}, {"zh_TW", 1028}, {"zh_HK", 1028}, {"zh_MO", 1028}, {"zh", 2052},
    {"en", 1033},    {"de", 1031},    {"fr", 1036},    {"es", 3082},    {"it", 1040},    {"ja", 1041},
    {"ko", 1042},    {"ru", 1049},    {"pt_BR", 1046}, {"pt", 2070},    {"nl", 1043},    {"pl", 1045},
    {"tr", 1055},    {"sv", 1053},    {"cs", 1029},    {"ar", 1025},    {"vi", 1066},    {"th", 1054},
}};

std::string FindTranslation(const std::string& path, const std::string& key)
{
    LanguageCache& cache = Cache();
    std::lock_guard guard(cache.lock);
    struct stat info
    {
    };
    if (stat(path.c_str(), &info) != 0)
    {
        cache.texts.clear();
        cache.size = -1;
        return {};
    }
    const bool unchanged = cache.settled && cache.path == path && cache.device == info.st_dev &&
                           cache.inode == info.st_ino && cache.size == info.st_size &&
                           cache.modified.tv_sec == info.st_mtim.tv_sec &&
                           cache.modified.tv_nsec == info.st_mtim.tv_nsec;
    if (!unchanged)
    {
        cache.texts.clear();
        const CProfileFile file = CProfileFile::Load(path);
        cache.path = path;
        cache.device = info.st_dev;
        cache.inode = info.st_ino;
        cache.size = info.st_size;
        cache.modified = info.st_mtim;
        // A file changed within the clock's granularity of our read could change again with the
        // same time stamp; trust the cache only for files that have been still for a while.
        cache.settled = time(nullptr) - info.st_mtim.tv_sec > 2;
        for (const auto& [name, value] : file.Entries("ProgramOutStr"))
            cache.texts.emplace(ToLowerAscii(name), value.substr(0, kTranslationLimit));
    }
    const auto found = cache.texts.find(key);
    return found == cache.texts.end() ? std::string() : found->second;
}

void ReplaceAll(std::string& text, std::string_view marker, std::string_view replacement)
{
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + replacement.size()))
        text.replace(at, marker.size(), replacement);
}

} // namespace

uint32_t LcidFromLocaleName(std::string_view localeName)
{
    const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    // The full language_TERRITORY first, then the language alone.
    for (const auto& [name, lcid] : kLocaleTable)
        if (base == name)
            return lcid;
    const std::string_view language = base.substr(0, base.find('_'));
    for (const auto& [name, lcid] : kLocaleTable)
        if (language == name)
            return lcid;
    return kLcidEnglish;
}

uint32_t SystemDefaultLcid()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    {
        const char* value = std::getenv(variable);
        if (value && *value)
            return LcidFromLocaleName(value);
    }
    return kLcidEnglish;
}

void InitLanguage(const std::string& programDirectory, uint32_t systemLcid)
{
    LanguageState& state = State();
    state.programDirectory = programDirectory;
    state.lcid = systemLcid;
    const std::string selection = programDirectory + "Languages/Language.ini";
    state.name = ReadProfileString(selection, "LCID", std::to_string(systemLcid), "", kTranslationLimit);
    if (state.name.empty())
    {
        state.name = "English";
        state.lcid = kLcidEnglish;
    }
    state.filePath = programDirectory + "Languages/" + state.name + ".lng";
}

std::string LookupText(std::string_view text)
{
    std::string result = FindTranslation(State().filePath, ToLowerAscii(text));
    if (result.empty())
        return std::string(text);
    ReplaceAll(result, "\\r\\n", "\r\n");
    ReplaceAll(result, "\\n", "\n");
    ReplaceAll(result, "[~NullInfoZelto~]", "");
    ReplaceAll(result, "[~Null~]", " ");
    return result;
}

uint32_t GetCurrentLcid()
{
    return State().lcid;
}

std::string GetLanguageName()
{
    return State().name;
}

std::string GetLanguageFilePath()
{
    return State().filePath;
}
