// Common base of the phase option models (compiler, assembler, linker,
// library generator) and the table-driven key mechanism they share.
//
// How a derived model uses it:
//  - derive from ModelBase, pass the phase kind to its constructor;
//  - override ReadToken(body): offer the unescaped token body ("S|KEY|value",
//    brackets gone) to the category readers in the model's order and return
//    true when one accepted it; the base then offers unaccepted bodies to the
//    build-control switches, so they behave alike in every phase;
//  - override WriteTokens(out): append the model's tokens in its fixed order
//    with the Append*/Write* helpers below; the base writes "V|VERSION|2"
//    first and the build-control switches that are on last;
//  - override ResetFields() to restore defaults (Reset() also clears the
//    switches);
//  - describe options as data: an index field is the position of the matching
//    entry of a constant key table (an empty entry is the "off" position that
//    writes nothing); a group of switches is a table of "B|KEY|1" texts read
//    into a bool array with ReadFlags and written with WriteFlags; a model
//    with many keys indexes the same tables once with KeyIndex
//    (models/key_index.h) so that a token costs one lookup;
//  - list every table the reader consults in a KeyRegistry returned by a
//    static ReadKeys() (models/key_registry.h) and read only tokens it
//    knows; KeyIndex keeps one itself. The options editor's coverage check
//    walks these lists.
// The CPU keys shared by compiler, generator and linker live in
// models/cpu_options.h.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/phase.h"

namespace quorle::models {

using KeyList = std::span<const std::string_view>;
class KeyRegistry; // models/key_registry.h

// ---- reading -------------------------------------------------------------

// Position of the non-empty entry equal to the whole body, or -1.
int MatchKey(KeyList table, std::string_view body);
// Index field: on a match stores the position in `field` and returns true.
bool ReadChoice(KeyList table, std::string_view body, int& field);
// Switch group: each entry is the text for "on"; a match sets that flag.
bool ReadFlags(KeyList keys, std::string_view body, std::span<bool> flags);
// The text after `prefix` (type letter, bar, key, bar) when the body starts
// with it.
std::optional<std::string_view> ValueAfter(std::string_view body, std::string_view prefix);

// A quoted value without its quotes. A value lacking its quotes is taken as
// it stands, so nothing outside the token is ever read.
std::string_view QuotedText(std::string_view value);
// Appends the pieces of a "|"-separated list; empty pieces are skipped and,
// with `quoted`, each piece loses its enclosing double quotes.
void AppendListValue(std::vector<std::string>& list, std::string_view value, bool quoted);
// A whole "|"-joined value that may stand in double quotes (definitions,
// section names, assignments): the enclosing quotes go only when both are
// there.
std::string_view EnclosedValue(std::string_view value);
// A decimal number (optional sign, leading digits) clamped to the int range;
// anything else gives 0.
int ReadNumber(std::string_view value);

// Scans the token that starts at or after `pos` and sets `body` to its body:
// brackets removed and value escaping undone (the same result as
// options::TokenBody). The view points into the option string or, when
// unescaping changed something, into `scratch`. Returns false when no token
// is left.
bool NextTokenBody(std::string_view optionString, size_t& pos, std::string& scratch,
                   std::string_view& body);

// Calls `fn` with each token body of an option string; the view is valid
// only during the call.
template <class Fn> void ForEachTokenBody(std::string_view optionString, Fn&& fn) {
    std::string scratch;
    std::string_view body;
    size_t pos = 0;
    while (NextTokenBody(optionString, pos, scratch, body)) fn(body);
}

// ---- writing -------------------------------------------------------------

// Appends " [body]" (no blank before the first token); empty bodies are left out.
void AppendBody(std::string& out, std::string_view body);
// Appends table[value]; out of range or empty writes nothing.
void WriteChoice(std::string& out, KeyList table, int value);
// Appends the entry of every flag that is on, in table order.
void WriteFlags(std::string& out, KeyList keys, std::span<const bool> flags);
// prefix + quoted, escaped text.
void AppendQuoted(std::string& out, std::string_view prefix, std::string_view text);
// prefix + each non-empty entry quoted and escaped, joined by "|"; nothing
// when no entry is written.
void AppendQuotedList(std::string& out, std::string_view prefix,
                      const std::vector<std::string>& list);
// prefix + an unquoted "|"-joined value, quoted and escaped as a whole when
// it holds a double quote, "]" or a blank, which would otherwise end the
// token or the value.
void AppendJoinedValue(std::string& out, std::string_view prefix, std::string_view joined);
// prefix + decimal number.
void AppendNumber(std::string& out, std::string_view prefix, int64_t value);
// Joins entries with a separator.
std::string Join(const std::vector<std::string>& list, std::string_view separator);

// ---- the base --------------------------------------------------------------

class ModelBase {
  public:
    explicit ModelBase(PhaseIndex kind) : kind_(kind) {}
    virtual ~ModelBase() = default;
    ModelBase(const ModelBase&) = default;
    ModelBase& operator=(const ModelBase&) = default;

    PhaseIndex Kind() const { return kind_; }
    bool operator==(const ModelBase&) const = default;

    // Restores every default, including the build-control switches.
    void Reset();
    // Adds the tokens of an option string to the current state.
    void Read(std::string_view optionString);
    // The option string of the current state.
    std::string Write() const;

    // Build-control switches, the same keys in every phase.
    bool skipDependency_ = false; // "B|SKIPDEPENDENCY|1"
    bool dependScan_ = false;     // "N|DEPENDSCAN|1"
    bool mapBatch_ = false;       // "B|MAPBATCH|1"

    // Accepts one of the three switch texts.
    bool ReadBuildControl(std::string_view body);
    // The keys every model shares: the version token's key (written fresh,
    // never read) and the three switch texts. Each model's own keys are in
    // its ReadKeys().
    static KeyList SharedKeys();
    // Appends the switches that are on, in their fixed order.
    void WriteBuildControl(std::string& out) const;

  protected:
    virtual void ResetFields() = 0;
    // Called once before the tokens of Read; a model that must look at the
    // whole string first (the generator's build mode) overrides it.
    virtual void BeforeRead(std::string_view /*optionString*/) {}
    virtual bool ReadToken(std::string_view body) = 0;
    // Called once after the tokens of Read.
    virtual void AfterRead() {}
    virtual void WriteTokens(std::string& out) const = 0;

  private:
    PhaseIndex kind_;
};

} // namespace quorle::models
