#include "output/colouring.h"

#include <array>

namespace quorle::output {
namespace {

struct Language {
    std::string_view fileTypes; // comma-separated host file-type names
    std::string_view lineComment;
    std::string_view blockStart;
    std::string_view blockEnd;
    std::string_view noCase;
};

struct KeywordGroup {
    int language;
    std::string_view name;
    std::string_view colour;
    std::string_view keywords;
};

enum LanguageId { C, Cpp, Asm };

constexpr Language kLanguages[] = {
#define QUORLE_COLOURING(id, types, line, start, end, nocase) {types, line, start, end, nocase},
#define QUORLE_KEYWORDS(id, name, colour, words)
#include "resources/colouring.inc"
#undef QUORLE_COLOURING
#undef QUORLE_KEYWORDS
};

constexpr KeywordGroup kGroups[] = {
#define QUORLE_COLOURING(id, types, line, start, end, nocase)
#define QUORLE_KEYWORDS(id, name, colour, words) {id, name, colour, words},
#include "resources/colouring.inc"
#undef QUORLE_COLOURING
#undef QUORLE_KEYWORDS
};

constexpr size_t kLanguageCount = sizeof kLanguages / sizeof kLanguages[0];

void AddKey(std::string& text, std::string_view key, std::string_view value) {
    if (value.empty()) return;
    text.append(key).append("=").append(value).append("\n");
}

std::string BuildText(int id) {
    const Language& lang = kLanguages[id];
    std::string text = "GLOBAL\n{\n";
    AddKey(text, "CommentBlockStart", lang.blockStart);
    AddKey(text, "CommentBlockEnd", lang.blockEnd);
    AddKey(text, "LineComment", lang.lineComment);
    AddKey(text, "CommentForeground", "DARKGREEN");
    AddKey(text, "CommentBackground", "SYSTEM");
    AddKey(text, "NoQuotes", "OFF");
    AddKey(text, "NoCase", lang.noCase);
    AddKey(text, "TextForeground", "BLACK");
    AddKey(text, "TextBackground", "SYSTEM");
    AddKey(text, "BookmarkForeground", "WHITE");
    AddKey(text, "BookmarkBackground", "DARKGREEN");
    AddKey(text, "SelTextForeground", "WHITE");
    AddKey(text, "SelTextBackground", "BLACK");
    text.append("}\n");
    for (const KeywordGroup& group : kGroups) {
        if (group.language != id) continue;
        text.append("\nKEYWORDGROUP\n{\n");
        AddKey(text, "Name", group.name);
        AddKey(text, "Keywords", group.keywords);
        AddKey(text, "KeywordForeground", group.colour);
        AddKey(text, "KeywordBackground", "SYSTEM");
        text.append("}\n");
    }
    return text;
}

bool ListHas(std::string_view list, std::string_view name) {
    while (!list.empty()) {
        size_t comma = list.find(',');
        if (list.substr(0, comma) == name) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

} // namespace

const std::string& ColouringText(std::string_view fileType) {
    // Built once; the texts never change while the module is loaded.
    static const std::array<std::string, kLanguageCount> texts = [] {
        std::array<std::string, kLanguageCount> built;
        for (size_t i = 0; i < kLanguageCount; ++i) built[i] = BuildText(static_cast<int>(i));
        return built;
    }();
    static const std::string empty;
    for (size_t i = 0; i < kLanguageCount; ++i)
        if (ListHas(kLanguages[i].fileTypes, fileType)) return texts[i];
    return empty;
}

} // namespace quorle::output
