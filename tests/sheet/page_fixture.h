// Pages driven directly: option sets made from strings, handed to a page as
// the sheet hands them over, and the option strings read back.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sheet/option_set.h"
#include "sheet/page_engine.h"
#include "sheet/tool_pages.h"
#include "sheet_support.h"

namespace quorle::sheet_test {

struct PageSets {
    // A set of `phase` read from `text`; compiler sets take `fileType`.
    void Add(int phase, const std::string& text, const std::string& fileType = "C source file") {
        auto set = std::make_unique<sheet::COptionSet>();
        set->phase = phase;
        set->id = static_cast<int>(owned.size());
        set->model = phase == 0 ? std::make_unique<models::CompilerModel>(fileType, text)
                                : sheet::MakeModel(phase, text);
        set->openedText = set->model->Write();
        owned.push_back(std::move(set));
    }
    sheet::PageContext Context() {
        sheet::PageContext context;
        for (auto& set : owned) context.sets.push_back(set.get());
        context.shared = &shared;
        context.messages = &messages;
        return context;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const auto& set : owned) out.push_back(set->model->Write());
        return out;
    }
    std::vector<std::unique_ptr<sheet::COptionSet>> owned;
    sheet::SharedState shared;
    RecordingMessages messages;
};

// The tokens of an option string without their brackets.
inline std::multiset<std::string> TokensOf(const std::string& text) {
    std::multiset<std::string> tokens;
    models::ForEachTokenBody(text, [&tokens](std::string_view body) { tokens.emplace(body); });
    return tokens;
}

// The key name of a token body ("B|DEBUG|0" gives "DEBUG").
inline std::string TokenKey(const std::string& token) {
    size_t first = token.find('|');
    size_t second = token.find('|', first + 1);
    return token.substr(first + 1, second - first - 1);
}

} // namespace quorle::sheet_test
