#include "platform/message_log.h"

#include <cstdio>
#include <vector>

#include "core/ascii_text.h"
#include "platform/platform.h"

namespace quorle::platform {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(begin, end - begin + 1);
}

std::string Upper(std::string text) {
    return core::ToAsciiUpper(text);
}

struct AnswerQueue {
    std::string source; // the value of QUORLE_ANSWERS the position belongs to
    size_t position = 0;
};

AnswerQueue& Queue() {
    static AnswerQueue queue;
    return queue;
}

} // namespace

std::optional<std::string> NextQueuedAnswer() {
    std::string value = GetEnv("QUORLE_ANSWERS").value_or("");
    AnswerQueue& queue = Queue();
    if (value != queue.source) {
        queue.source = value;
        queue.position = 0;
    }
    std::vector<std::string> words;
    size_t start = 0;
    while (start <= value.size() && !value.empty()) {
        size_t comma = value.find(',', start);
        if (comma == std::string::npos) comma = value.size();
        words.push_back(Trim(value.substr(start, comma - start)));
        start = comma + 1;
    }
    if (queue.position >= words.size()) return std::nullopt;
    return words[queue.position++];
}

std::string FormatMessageLine(const std::string& caption, const std::string& text,
                              const std::string& answer) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '\\':
            escaped += "\\\\";
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\t':
            escaped += "\\t";
            break;
        default:
            escaped.push_back(c);
        }
    }
    return caption + "\t" + escaped + "\t" + answer;
}

bool MessagesRedirected() {
    auto file = GetEnv("QUORLE_MESSAGES");
    return file && !file->empty();
}

void EmitMessageLine(const std::string& line) {
    if (MessagesRedirected()) {
        std::string path = *GetEnv("QUORLE_MESSAGES");
        if (AppendToLog(path, line + "\n")) return;
        // Not a file that can take the line (a FIFO, a device, a directory):
        // the box is still seen, on standard error, and the reason once.
        static std::string refused;
        if (refused != path) {
            refused = path;
            std::fprintf(stderr, "QUORLE_MESSAGES: cannot append to %s; boxes go here\n",
                         path.c_str());
        }
    }
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
}

void LogMessageLine(const std::string& line) {
    EmitMessageLine(line);
}

const char* AnswerWord(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Ok:
        return "OK";
    case MessageAnswer::Cancel:
        return "CANCEL";
    case MessageAnswer::Yes:
        return "YES";
    case MessageAnswer::No:
        return "NO";
    }
    return "OK";
}

MessageAnswer ChooseAnswer(MessageButtons buttons, const std::optional<std::string>& queued) {
    std::vector<MessageAnswer> offered;
    switch (buttons) {
    case MessageButtons::Ok:
        offered = {MessageAnswer::Ok};
        break;
    case MessageButtons::OkCancel:
        offered = {MessageAnswer::Ok, MessageAnswer::Cancel};
        break;
    case MessageButtons::YesNo:
        offered = {MessageAnswer::Yes, MessageAnswer::No};
        break;
    case MessageButtons::YesNoCancel:
        offered = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Cancel};
        break;
    }
    if (queued) {
        for (MessageAnswer answer : offered) {
            if (Upper(*queued) == AnswerWord(answer)) return answer;
        }
    }
    return offered.front();
}

MessageAnswer LogMessageBox(const std::string& caption, const std::string& text,
                            MessageButtons buttons) {
    MessageAnswer answer = ChooseAnswer(buttons, NextQueuedAnswer());
    EmitMessageLine(FormatMessageLine(caption, text, AnswerWord(answer)));
    return answer;
}

std::string AskQueued(const std::string& caption, const std::string& text,
                      const std::string& defaultAnswer) {
    auto queued = NextQueuedAnswer();
    std::string answer = queued && !queued->empty() ? *queued : defaultAnswer;
    EmitMessageLine(FormatMessageLine(caption, text, answer));
    return answer;
}

} // namespace quorle::platform
