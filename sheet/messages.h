// How the sheet and its pages show message boxes: through a sink the face
// supplies (the scripted face logs every box through the message-box
// contract; a window face shows real boxes).
#pragma once

#include <string>

#include "platform/platform.h"

namespace quorle::sheet {

inline constexpr const char* kCaptionWarning = "WARNING";
inline constexpr const char* kCaptionError = "ERROR";
inline constexpr const char* kCaptionMessage = "Message";

class CMessageSink {
  public:
    virtual ~CMessageSink() = default;
    virtual platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                         platform::MessageButtons buttons) = 0;
};

// A string-table entry with one "%d" pair filled in (1532 and its kind).
std::string FormatRangeMessage(int id, int low, int high);
// A string-table entry as it stands; "" when the table lacks it.
std::string SheetString(int id);
// One of the sheet's own texts: from the resource library while it is the
// current resource module, else (or when the library lacks it) the same
// text from the table the library is built from.
std::string SheetText(int id);

// String-table numbers the sheet uses.
enum SheetStringId : int {
    kStrAtSign = 43,
    kStrTitleCorvo = 50,
    kStrTitleOther = 54,
    kStrOptionModified = 1527,
    kStrIntegerRange = 1532,
    kStrInteger = 1533,
    kStrMemoryResourceForm = 1534,
    kStrMemoryResourceOverlap = 1535,
    kStrNoInteractiveView = 1537,
    kStrScriptUnreadable = 1538,
    kStrCommonControls = 1561,
};

} // namespace quorle::sheet
