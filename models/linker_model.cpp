#include "models/linker_model.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "core/ascii_text.h"
#include "core/table_checks.h"
#include "models/key_registry.h"
#include "models/linker_keys.h"
#include "options/option_string.h"
#include "sections/layout_text.h"

namespace quorle::models {

using namespace linker_keys;

static_assert(AllDistinct(kLinkerSwitches, [](const FlagOption& row) { return row.key; }) &&
              AllDistinct(kLinkerSwitches, [](const FlagOption& row) { return row.flag; }));

namespace {

constexpr std::string_view kShowWords[kShowWordCount] = {"SYMBOL", "REFERENCE", "SECTION",
                                                         "XREFERENCE", "TOTAL_SIZE"};
constexpr std::string_view kCrcTypes[] = {"NONE", "CCITT", "16"};

// The keys with a value the readers below take.
constexpr std::string_view kValueKeys[] = {
    kIncDir,      kInput,       kArchive,     kBinary,  kDefine,  kEntry,    kRelocCount, kRom,
    kMultiOutput, kOutFile,     kCrc,         kMapFile, kShow,    kGroups,   kRegions,    kForced,
    kSuppressed,  kCheckDevice, kCpuInfoFile, kPsCheck, kAppText, kOtherVia, kExtFile};
// Tokens kept among the carried ones, where the model looks at them: the
// output path under its default strings' name and the optimisation flag.
constexpr std::string_view kLookedAtWhenCarried[] = {kOutputAlias, kOptimiseOn, kOptimiseOff};

bool ReadFlagTable(std::span<const FlagKey> table, std::string_view body, LinkerFields& fields) {
    for (const FlagKey& flag : table) {
        if (flag.key == body) {
            fields.*flag.field = true;
            return true;
        }
    }
    return false;
}

// Position of the first (or last) `c` that lies outside double quotes.
size_t FindOutsideQuotes(std::string_view text, char c, bool last) {
    size_t found = std::string_view::npos;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == c && !quoted) {
            found = i;
            if (!last) break;
        }
    }
    return found;
}

bool IsQuoted(std::string_view text) {
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// A stored element: without its quotes when it has them, then unescaped.
// The quotes go first so that an element made of quotes keeps them.
std::string Element(std::string_view raw) {
    if (raw.size() >= 2 && raw.front() == '"' && raw.back() == '"')
        return options::Unescape(raw.substr(1, raw.size() - 2));
    return options::Unescape(raw);
}

// The raw value of a prefix key: the stored text after the key.
std::string_view RawValue(std::string_view raw, std::string_view prefix) {
    return raw.size() >= prefix.size() ? raw.substr(prefix.size()) : std::string_view{};
}

// A quoted text value of a prefix key, read from the stored token.
bool ReadQuoted(std::string_view body, std::string_view raw, std::string_view prefix,
                std::string& field) {
    if (!ValueAfter(body, prefix)) return false;
    field = Element(RawValue(raw, prefix));
    return true;
}

// Hexadecimal digits (an optional "0x" first), as the C library's strtoul
// reads them, limited to 32 bits.
uint32_t ReadHex32(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) i += 2;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = core::HexDigitValue(text[i]);
        if (digit < 0) break;
        value = std::min<uint64_t>(value * 16 + static_cast<uint64_t>(digit), 0xFFFFFFFFull);
    }
    return static_cast<uint32_t>(value);
}

std::string FormatHex32(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", value);
    return buffer;
}

// "|"-separated fields, empty ones kept.
std::vector<std::string_view> Fields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        fields.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return fields;
}

// A value the writer puts into a token unquoted (names, words, addresses):
// blanks, double quotes and closing brackets could not be written back
// inside the token, so they are not kept.
std::string PlainWord(std::string_view text) {
    std::string word;
    word.reserve(text.size());
    for (char c : text)
        if (!core::IsBlank(c) && c != '"' && c != ']') word += c;
    return word;
}

// The "|"-separated words of a value, each a PlainWord; empty ones skipped.
void AppendPlainWords(std::vector<std::string>& list, std::string_view value) {
    for (std::string_view piece : Fields(value, '|')) {
        std::string word = PlainWord(piece);
        if (!word.empty()) list.push_back(std::move(word));
    }
}

// A carried token as stored, made safe to write back in brackets: scanned as
// the tokenizer will scan it, a blank outside double quotes would split it
// and an unclosed quote would swallow the tokens after it. A quote goes in
// before such a blank and one closes the token; a token already safe stays
// as it is.
std::string CarriedToken(std::string_view raw) {
    std::string token;
    token.reserve(raw.size() + 2);
    bool quoted = false;
    for (char c : raw) {
        if (core::IsBlank(c) && !quoted) {
            token += '"';
            quoted = true;
        } else if (c == '"') {
            quoted = !quoted;
        }
        token += c;
    }
    if (quoted) token += '"';
    return token;
}

} // namespace

KeyList LinkerSwitchKeys() {
    return kLinkerSwitchKeys;
}
KeyList ShowWords() {
    return kShowWords;
}
KeyList CrcTypes() {
    return kCrcTypes;
}

CpuOptions LinkerCpuDefaults() {
    CpuOptions cpu;
    cpu.endian_ = 2;
    return cpu;
}

// Every table ReadOne's readers (and BeforeRead) look at.
const KeyRegistry& LinkerModel::ReadKeys() {
    static const KeyRegistry registry = [] {
        KeyRegistry r{kPrelink,      kOutputForm,       kSRecord,     kHexRecord,
                      kCpuCheck,     kSubcommandType,   kProjectType, kOptLib,
                      kProjectBuilt, kLinkerSwitchKeys, kValueKeys,   kLookedAtWhenCarried};
        for (const FlagKey& flag : kInputFlags) r.Add(flag.key);
        for (const FlagKey& flag : kOutputFlags) r.Add(flag.key);
        r.Add(kSubcommand);
        AddCpuKeys(r);
        return r;
    }();
    return registry;
}

LinkerModel::LinkerModel(std::string_view optionString, std::string_view mapOptimisationFile)
    : ModelBase(kPhaseLinker), mapOptimisationFile_(mapOptimisationFile) {
    Reset();
    Read(optionString);
}

UserMessages LinkerModel::Parse(std::string_view optionString) {
    UserMessages messages;
    struct Sink {
        UserMessages*& slot;
        ~Sink() { slot = nullptr; }
    } sink{readMessages_};
    readMessages_ = &messages;
    Read(optionString);
    return messages;
}

LinkerRead ReadLinkerModel(std::string_view optionString, std::string_view mapOptimisationFile) {
    LinkerRead read{LinkerModel({}, mapOptimisationFile), {}};
    read.messages = read.model.Parse(optionString);
    return read;
}

void LinkerModel::ResetFields() {
    static_cast<LinkerFields&>(*this) = LinkerFields{};
}

void LinkerModel::BeforeRead(std::string_view optionString) {
    // List values are split on their stored (escaped) text, where a doubled
    // quote inside an element cannot be taken for the end of the element, so
    // the whole string is read here from the raw tokens.
    std::optional<std::string> outputAlias;
    bool outFileRead = false;
    for (const std::string& token : options::SplitOptionString(optionString)) {
        std::string_view raw = options::StripEnds(token);
        std::string body = options::Unescape(raw);
        if (ValueAfter(body, kOutFile)) outFileRead = true;
        if (ValueAfter(body, kOutputAlias)) outputAlias = Element(RawValue(raw, kOutputAlias));
        ReadOne(body, raw);
    }
    // The default option strings name the output under "OUTPUT"; without an
    // OUTFILE token that path is the output, so the placeholders of the
    // model's own default never reach the linker unexpanded. The OUTPUT token
    // itself is still carried over unchanged.
    if (outputAlias && !outFileRead) outputFile_ = *outputAlias;
    // The Zenta limits are written for Zenta only; for another family they
    // keep their defaults, so that what is read is what a save keeps.
    if (cpu_.familyCode_ != toolchain::kCodeZenta) {
        const CpuOptions defaults = LinkerCpuDefaults();
        cpu_.intRegisters_ = defaults.intRegisters_;
        cpu_.maxConstSize_ = defaults.maxConstSize_;
        cpu_.smallDataEnabled_ = defaults.smallDataEnabled_;
        cpu_.smallDataLimit_ = defaults.smallDataLimit_;
    }
}

bool LinkerModel::ReadToken(std::string_view) {
    return true; // every token was taken by BeforeRead
}

void LinkerModel::ReadOne(std::string_view body, std::string_view raw) {
    if (body.starts_with(kVersionPrefix)) return; // the writer puts a fresh one first
    bool read = ReadKeys().Knows(body) &&
                (ReadInput(body, raw) || ReadOutput(body, raw) || ReadLayout(body) ||
                 ReadCpuCheck(body, raw) || ReadSwitches(body, raw) || ReadSubcommand(body, raw) ||
                 ReadCpuKeys(body) || ReadLibraryBuild(body));
    if (read || ReadBuildControl(body)) return;
    carried_.push_back(CarriedToken(raw));
}

bool LinkerModel::ReadInput(std::string_view body, std::string_view raw) {
    if (ReadFlagTable(kInputFlags, body, *this)) return true;
    if (ValueAfter(body, kIncDir) || ValueAfter(body, kInput)) {
        bool dirs = ValueAfter(body, kIncDir).has_value();
        std::vector<std::string>& list = dirs ? libDirs_ : objects_;
        for (const std::string& piece :
             options::SplitOutsideQuotes(RawValue(raw, dirs ? kIncDir : kInput), '|')) {
            // An entry that is empty once read is not kept: it could not be
            // written back.
            std::string entry = Element(piece);
            if (!entry.empty()) list.push_back(std::move(entry));
        }
        return true;
    }
    if (ValueAfter(body, kArchive)) {
        for (const std::string& piece : options::SplitOutsideQuotes(RawValue(raw, kArchive), '*'))
            if (std::string library = Element(piece); !library.empty())
                libraries_.push_back(std::move(library));
        return true;
    }
    if (ValueAfter(body, kBinary)) {
        std::vector<std::string> items = options::SplitOutsideQuotes(RawValue(raw, kBinary), '|');
        bool pairForm = items.size() == 2 && IsQuoted(items[0]) && IsQuoted(items[1]);
        if (pairForm) {
            binaries_.push_back(Element(items[0]));
            binarySections_.push_back(Element(items[1]));
            return true;
        }
        // Several files in one token, each a quoted file directly followed
        // by its section text in parentheses.
        for (const std::string& item : items) {
            if (item.empty()) continue;
            size_t split = item.find("\"(");
            std::string_view file = split == std::string::npos
                                        ? std::string_view(item)
                                        : std::string_view(item).substr(0, split + 1);
            binaries_.push_back(Element(file));
            binarySections_.push_back(split == std::string::npos
                                          ? std::string()
                                          : options::Unescape(item.substr(split + 1)));
        }
        return true;
    }
    if (ValueAfter(body, kDefine)) {
        for (const std::string& item : options::SplitOutsideQuotes(RawValue(raw, kDefine), '|')) {
            if (item.empty()) continue;
            size_t split = FindOutsideQuotes(item, ',', false);
            if (split == std::string::npos) split = FindOutsideQuotes(item, '=', false);
            std::string_view whole(item);
            symbols_.push_back(
                {Element(whole.substr(0, split)),
                 split == std::string::npos ? std::string() : Element(whole.substr(split + 1))});
        }
        return true;
    }
    if (ReadQuoted(body, raw, kEntry, entry_)) return true;
    return ReadChoice(kPrelink, body, prelink_);
}

bool LinkerModel::ReadOutput(std::string_view body, std::string_view raw) {
    if (ReadFlagTable(kOutputFlags, body, *this) || ReadChoice(kOutputForm, body, outputForm_) ||
        ReadChoice(kHexRecord, body, hexRecord_) || ReadChoice(kSRecord, body, sRecord_))
        return true;
    if (auto value = ValueAfter(body, kRelocCount)) {
        relocCount_ = PlainWord(*value);
        return true;
    }
    if (auto value = ValueAfter(body, kRom)) {
        for (std::string_view item : Fields(*value, '|')) {
            if (item.empty()) continue;
            if (item.front() == '(') item.remove_prefix(1);
            if (!item.empty() && item.back() == ')') item.remove_suffix(1);
            size_t comma = item.find(',');
            romSections_.push_back(PlainWord(item.substr(0, comma)));
            ramSections_.push_back(PlainWord(
                comma == std::string_view::npos ? std::string_view{} : item.substr(comma + 1)));
        }
        return true;
    }
    if (ValueAfter(body, kMultiOutput)) {
        for (const std::string& item :
             options::SplitOutsideQuotes(RawValue(raw, kMultiOutput), '|')) {
            if (item.empty()) continue;
            std::string_view whole(item);
            size_t split = FindOutsideQuotes(whole, '=', true);
            outputPieces_.push_back(Element(whole.substr(0, split)));
            pieceSections_.push_back(split == std::string::npos ? std::string()
                                                                : Element(whole.substr(split + 1)));
        }
        return true;
    }
    if (ReadQuoted(body, raw, kOutFile, outputFile_)) return true;
    if (auto value = ValueAfter(body, kCrc)) {
        std::vector<std::string_view> fields = Fields(*value, '|');
        ReadChoice(kCrcTypes, fields[0], crcType_);
        if (fields.size() > 1) crcAddress_ = PlainWord(fields[1]);
        for (size_t i = 2; i < fields.size(); ++i) {
            std::string range = PlainWord(fields[i]);
            if (!range.empty()) crcRanges_.push_back(std::move(range));
        }
        return true;
    }
    if (ValueAfter(body, kMapFile)) {
        std::string whole = Element(RawValue(raw, kMapFile));
        std::string_view path = whole;
        size_t slash = path.find_last_of("\\/");
        std::string_view leaf = slash == std::string_view::npos ? path : path.substr(slash + 1);
        mapDir_ = slash == std::string_view::npos ? std::string() : path.substr(0, slash);
        mapName_ = leaf.substr(0, leaf.rfind('.'));
        return true;
    }
    if (auto value = ValueAfter(body, kShow)) {
        // Whole words only, so "XREFERENCE" does not also set "REFERENCE".
        for (std::string_view word : Fields(*value, '|'))
            for (int i = 0; i < kShowWordCount; ++i)
                if (word == kShowWords[i]) show_[static_cast<size_t>(i)] = true;
        return true;
    }
    return false;
}

bool LinkerModel::ReadLayout(std::string_view body) {
    if (auto value = ValueAfter(body, kGroups)) {
        if (!sections::GroupsFromText(*value, layout_.groups))
            if (readMessages_ != nullptr)
                readMessages_->push_back(ErrorText(std::string(sections::kGroupReadError)));
        return true;
    }
    if (auto value = ValueAfter(body, kRegions)) {
        sections::RegionsFromText(*value, layout_.regions);
        return true;
    }
    if (auto value = ValueAfter(body, kForced)) {
        AppendPlainWords(forcedSymbols_, *value);
        return true;
    }
    if (auto value = ValueAfter(body, kSuppressed)) {
        AppendPlainWords(suppressedSymbols_, *value);
        return true;
    }
    return false;
}

bool LinkerModel::ReadCpuCheck(std::string_view body, std::string_view raw) {
    if (ReadChoice(kCpuCheck, body, cpuCheckMode_)) return true;
    if (auto value = ValueAfter(body, kCheckDevice)) {
        for (std::string_view item : Fields(*value, '|')) {
            if (item.empty()) continue;
            std::vector<std::string_view> parts = Fields(item, ',');
            std::string kind = PlainWord(parts[0]);
            // External and I/O areas are checked like RAM.
            if (kind == "EXTERNAL" || kind == "I/O") kind = "RAM";
            checkAreas_.push_back({std::move(kind),
                                   FormatHex32(parts.size() > 1 ? ReadHex32(parts[1]) : 0),
                                   FormatHex32(parts.size() > 2 ? ReadHex32(parts[2]) : 0)});
        }
        return true;
    }
    if (ReadQuoted(body, raw, kCpuInfoFile, cpuInfoFile_)) return true;
    if (auto value = ValueAfter(body, kPsCheck)) {
        psCheck_ = PlainWord(*value);
        return true;
    }
    return false;
}

bool LinkerModel::ReadSwitches(std::string_view body, std::string_view raw) {
    if (ReadFlags(kLinkerSwitchKeys, body, switches_)) return true;
    return ReadQuoted(body, raw, kAppText, appText_) || ReadQuoted(body, raw, kOtherVia, otherVia_);
}

bool LinkerModel::ReadSubcommand(std::string_view body, std::string_view raw) {
    if (body == kSubcommand) {
        subcommand_ = true;
        return true;
    }
    if (ReadQuoted(body, raw, kExtFile, subcommandFile_)) return true;
    return ReadChoice(kSubcommandType, body, subcommandType_);
}

bool LinkerModel::ReadCpuKeys(std::string_view body) {
    return cpu_.Read(body) || ReadChoice(kProjectType, body, projectType_);
}

bool LinkerModel::ReadLibraryBuild(std::string_view body) {
    int value = 0;
    if (ReadChoice(kOptLib, body, value)) {
        optLib_ = value == 1;
        return true;
    }
    if (ReadChoice(kProjectBuilt, body, value)) {
        projectIsLibrary_ = value == 1;
        return true;
    }
    return false;
}

bool LinkerModel::OptimisationFlag() const {
    return std::find(carried_.begin(), carried_.end(), kOptimiseOn) != carried_.end();
}

void LinkerModel::SetOptimisationFlag(bool on) {
    if (!on) {
        std::replace(carried_.begin(), carried_.end(), std::string(kOptimiseOn),
                     std::string(kOptimiseOff));
        return;
    }
    if (OptimisationFlag()) return;
    auto off = std::find(carried_.begin(), carried_.end(), kOptimiseOff);
    if (off != carried_.end())
        *off = kOptimiseOn;
    else
        carried_.emplace_back(kOptimiseOn);
}

std::string LinkerModel::MapFilePath() const {
    std::string path = mapDir_;
    if (!path.empty()) path += '\\';
    path += mapName_;
    path += ".map";
    return path;
}

bool LinkerModel::NormalMode() const {
    return cpu_.familyCode_ == toolchain::kCodePelka &&
           cpu_.familyFlags_[toolchain::kPelkaNormalPos];
}

} // namespace quorle::models
