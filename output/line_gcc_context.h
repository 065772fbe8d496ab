// gcc's own lines that report no problem of their own: notes attached to a
// diagnostic, the context lines before it, and source excerpts with carets.
// The compiler and the library generator count nothing for them, so a
// compile that gcc finished cleanly is not reported as failed. (A mend of
// the rule that counts every unrecognised line as one error.)
#pragma once

#include <string_view>

namespace quorle::output {

enum class GccLine {
    Other,   // every other line: the usual rules apply
    Note,    // "file:line[:col]: note: ..."
    Context, // "In file included from", "  from", "file: In function ...", ...
    Excerpt, // "    7 |   int x;", "      |   ^~~", "  +++ |+#include <x.h>"
};

GccLine ClassifyGccLine(std::string_view line);

} // namespace quorle::output
