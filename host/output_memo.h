// The plug-in's output list of a file step follows from its expanded option
// string alone, and files that share one stored string differ there only in
// the "$(FILELEAF)" the host put in. So each stored string is asked about
// once with a stand-in leaf, and the answer is re-spelt for each file: at ten
// thousand sources the plug-in otherwise reads ten thousand option strings
// on every build, a no-op included.
//
// Sound only while the plug-in copies the leaf as it stands. The first file
// of each stored string is therefore asked as well, and an answer that does
// not re-spell to the plug-in's own turns the memo off for that string; a
// leaf of other than letters, digits, "_" and "-" (a blank, a quote, a dot
// that could read as an extension) is always asked about directly.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorle::host {

class OutputMemo {
  public:
    using List = std::optional<std::vector<std::string>>;
    // The option string spelt with a given leaf.
    using Spell = std::function<std::string(const std::string& leaf)>;
    // The plug-in's answer for an option string.
    using Ask = std::function<List(const std::string& options)>;

    // `key` names the stored string (its phase and text); `options` is the
    // step's own, spelt with `leaf`.
    List Outputs(const std::string& key, const std::string& leaf, const std::string& options,
                 const Spell& spell, const Ask& ask);

    // How often the plug-in was asked; for tests and benchmarks.
    size_t asked() const { return asked_; }

  private:
    struct Entry {
        bool usable = false;
        std::string options; // spelt with the stand-in
        std::vector<std::string> answer;
    };
    List Direct(const std::string& options, const Ask& ask);

    std::unordered_map<std::string, Entry> entries_;
    size_t asked_ = 0;
};

} // namespace quorle::host
