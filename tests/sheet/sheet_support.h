// A message sink and an observer that record what the sheet shows.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "sheet/sheet.h"

namespace quorle::sheet_test {

struct ShownMessage {
    std::string caption;
    std::string text;
};

class RecordingMessages : public sheet::CMessageSink {
  public:
    platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                 platform::MessageButtons buttons) override {
        shown.push_back({caption, text});
        if (!answers.empty()) {
            platform::MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes
                                                          : platform::MessageAnswer::Ok;
    }
    std::vector<ShownMessage> shown;
    std::deque<platform::MessageAnswer> answers;
};

class RecordingObserver : public sheet::CSheetObserver {
  public:
    void OnTabsChanged(const std::vector<std::string>& titles) override {
        std::string joined;
        for (const auto& t : titles) joined += (joined.empty() ? "" : "|") + t;
        events.push_back("tabs: " + joined);
    }
    void OnCategoryShown(const std::string& label) override {
        events.push_back("category: " + label);
    }
    void OnPreview(const std::string& text) override {
        events.push_back("preview: " + text);
        lastPreview = text;
    }
    std::vector<std::string> events;
    std::string lastPreview;
};

} // namespace quorle::sheet_test
