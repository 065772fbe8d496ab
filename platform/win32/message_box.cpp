#include "platform/win32/windows_api.h"

#include <shellapi.h>

#include "platform/message_log.h"
#include "platform/platform.h"

namespace quorle::platform {
namespace {

UINT ButtonFlags(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return MB_OK;
    case MessageButtons::OkCancel:
        return MB_OKCANCEL;
    case MessageButtons::YesNo:
        return MB_YESNO;
    case MessageButtons::YesNoCancel:
        return MB_YESNOCANCEL;
    }
    return MB_OK;
}

UINT IconFlags(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None:
        return 0;
    case MessageIcon::Information:
        return MB_ICONINFORMATION;
    case MessageIcon::Warning:
        return MB_ICONWARNING;
    case MessageIcon::Error:
        return MB_ICONERROR;
    case MessageIcon::Question:
        return MB_ICONQUESTION;
    }
    return 0;
}

} // namespace

MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                          MessageButtons buttons, MessageIcon icon) {
    if (MessagesRedirected()) {
        MessageAnswer answer = ChooseAnswer(buttons, NextQueuedAnswer());
        EmitMessageLine(FormatMessageLine(caption, text, AnswerWord(answer)));
        return answer;
    }
    int pressed = ::MessageBoxA(::GetActiveWindow(), text.c_str(), caption.c_str(),
                                ButtonFlags(buttons) | IconFlags(icon) | MB_TASKMODAL);
    switch (pressed) {
    case IDCANCEL:
        return MessageAnswer::Cancel;
    case IDYES:
        return MessageAnswer::Yes;
    case IDNO:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

bool ShellOpen(const std::string& path) {
    if (MessagesRedirected()) {
        LogMessageLine("OPEN\t" + path);
        return true;
    }
    auto instance = reinterpret_cast<INT_PTR>(
        ::ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return instance > 32;
}

} // namespace quorle::platform
