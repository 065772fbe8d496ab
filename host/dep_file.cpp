#include "host/dep_file.h"

#include <unordered_set>

namespace quorle::host {

std::string DependencyEnvironment(const std::string& depFile, const std::string& target) {
    return "SUNPRO_DEPENDENCIES=" + depFile + " " + target;
}

std::vector<std::string> ParseDependencyRules(std::string_view text) {
    std::vector<std::string> prerequisites;
    std::unordered_set<std::string> seen;
    bool inTargets = true;
    std::string word;
    bool haveWord = false;
    auto endWord = [&](bool lineEnd) {
        if (haveWord) {
            if (inTargets) {
                if (!word.empty() && word.back() == ':') inTargets = false;
            } else if (seen.insert(word).second) {
                prerequisites.push_back(word);
            }
        }
        word.clear();
        haveWord = false;
        if (lineEnd) inTargets = true;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == '\n' || (next == '\r' && i + 2 < text.size() && text[i + 2] == '\n')) {
                endWord(false); // a continued line
                i += next == '\r' ? 2 : 1;
                continue;
            }
            if (next == ' ' || next == '#') {
                word += next;
                haveWord = true;
                ++i;
                continue;
            }
        }
        if (c == '$' && i + 1 < text.size() && text[i + 1] == '$') {
            word += '$';
            haveWord = true;
            ++i;
        } else if (c == ' ' || c == '\t' || c == '\r') {
            endWord(false);
        } else if (c == '\n') {
            endWord(true);
        } else {
            word += c;
            haveWord = true;
        }
    }
    endWord(true);
    return prerequisites;
}

} // namespace quorle::host
