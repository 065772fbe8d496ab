#include "output/line_classifier.h"

#include "core/phase.h"
#include "output/line_gcc_context.h"
#include "output/line_parts.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace quorle::output {
namespace {

using detail::HasErrorKeyword;
using detail::HasFatalKeyword;
using detail::HasWarningKeyword;
using detail::RecordFields;

// String 35 holds the compiler's banner prefixes in this same form.

constexpr std::string_view kAssemblerBanners = "CORVO SERIES ASSEMBLER Ver\n"
                                               "Copyright (C)\n"
                                               "Licensed Material of\n"
                                               "  *****TOTAL ERRORS\n"
                                               "  *****TOTAL WARNINGS\n";

constexpr std::string_view kLinkerBanners = "Ostrel Optimizing Linkage Editor Ver\n"
                                            "Copyright (C)\n"
                                            "Licensed Material of\n"
                                            "Optimizing Linkage Editor Completed\n"
                                            "Ostrel ELF/DWARF File Converter Ver\n";

constexpr std::string_view kGeneratorBanners = "CORVO SERIES C/C++ Compiler Ver\n"
                                               "CORVO SERIES C/C++ Standard Library Generator\n"
                                               "Ostrel Optimizing Linkage Editor Ver\n"
                                               "Copyright (C)\n"
                                               "Licensed Material of\n"
                                               "***\n"
                                               "Ostrel Software Engineering\n"
                                               "All Rights Reserved\n"
                                               "All rights reserved\n"
                                               "Compiling start\n"
                                               "Linking start\n"
                                               "Object created\n"
                                               "Library Generator Completed\n"
                                               "PELKA SERIES Evaluation Software\n"
                                               "  Evaluation period\n"
                                               "Optimizing Linkage Editor Completed\n";

bool EndsWithColon(std::string_view line) {
    return !line.empty() && line.back() == ':';
}

// Compiler and assembler: message number, canonical file, fields joined.
void Finish(LineClass& out, RecordFields fields, std::string_view code, bool hasCode) {
    std::string number = hasCode ? detail::MessageNumber(code) : std::string();
    std::string file = detail::CanonicalIfAbsolute(fields.file);
    out.record.reserve(file.size() + fields.line.size() + number.size() + fields.message.size() +
                       6);
    out.record.append(file).append("|").append(fields.line).append("|");
    out.record.append(number).append("|").append(fields.message).append("\n\n");
}

RecordFields Unrecognised(LineClass& out, std::string_view line) {
    if (!EndsWithColon(line)) ++out.errors;
    return detail::UnrecognisedRecord(line);
}

void ClassifyCompiler(LineClass& out, std::string_view line) {
    switch (ClassifyGccLine(line)) {
    case GccLine::Note:
        // A message that counts nothing: gcc's remark on the diagnostic before.
        Finish(out, detail::GnuRecord(line), {}, false);
        return;
    case GccLine::Context:
    case GccLine::Excerpt:
        Finish(out, detail::UnrecognisedRecord(line), {}, false);
        return;
    case GccLine::Other:
        break;
    }
    auto words = detail::SplitWords(line);
    bool recognised = false;
    bool hasCode = false;
    std::string_view code;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (i == 0) {
            // The first word only counts; it never makes the line a message record.
            if (word == "(I)") continue;
            if (HasErrorKeyword(word))
                ++out.errors;
            else if (HasWarningKeyword(word))
                ++out.warnings;
            else if (HasFatalKeyword(word))
                ++out.fatals;
            else if (word == "(-)")
                ++out.fatals;
            continue;
        }
        if (word == "(I)") {
            recognised = true;
            hasCode = true;
            code = words[i - 1];
        }
        if (HasErrorKeyword(word)) ++out.errors, recognised = true;
        if (HasWarningKeyword(word)) ++out.warnings, recognised = true;
        if (HasFatalKeyword(word)) ++out.fatals, recognised = true;
        if (word == "(-)") ++out.fatals, recognised = true;
    }
    RecordFields fields = recognised ? detail::GnuRecord(line) : Unrecognised(out, line);
    Finish(out, std::move(fields), code, hasCode);
}

bool IsSeverityMarker(std::string_view word) {
    return word == "(E)" || word == "(W)" || word == "(F)";
}

struct AssemblerState {
    bool recognised = false;
    bool marker = false;
};

// The rules every word after the first gets (and a first word that is a marker).
void AssemblerLaterRules(LineClass& out, AssemblerState& st, std::string_view word) {
    // An error after a fatal one is a consequence, not a new error.
    if (HasErrorKeyword(word) && out.fatals == 0) ++out.errors, st.recognised = true;
    if (HasWarningKeyword(word)) ++out.warnings, st.recognised = true;
    if (HasFatalKeyword(word)) ++out.fatals, st.recognised = true;
    if (IsSeverityMarker(word)) {
        st.marker = true;
        st.recognised = true;
        if (word[1] == 'E')
            ++out.errors;
        else if (word[1] == 'W')
            ++out.warnings;
        else
            ++out.fatals;
    }
}

void ClassifyAssembler(LineClass& out, std::string_view line) {
    auto words = detail::SplitWords(line);
    AssemblerState st;
    for (size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (i > 0) {
            AssemblerLaterRules(out, st, word);
            continue;
        }
        if (HasErrorKeyword(word) && out.fatals == 0)
            ++out.errors, st.recognised = true;
        else if (HasWarningKeyword(word))
            ++out.warnings;
        else if (HasFatalKeyword(word))
            ++out.fatals;
        else if (IsSeverityMarker(word))
            AssemblerLaterRules(out, st, word);
    }
    RecordFields fields;
    if (st.marker) {
        if (!detail::NativeRecord(line, fields)) fields = Unrecognised(out, line);
    } else if (st.recognised) {
        fields = detail::GnuRecord(line);
    } else {
        fields = Unrecognised(out, line);
    }
    Finish(out, std::move(fields), {}, false);
}

void ClassifyLinker(LineClass& out, std::string_view line) {
    bool warning = HasWarningKeyword(line);
    out.errors = (!warning && !EndsWithColon(line)) ? 1 : 0;
    out.warnings = warning ? 1 : 0;
    out.fatals = HasFatalKeyword(line) ? 1 : 0;
    out.record.reserve(line.size() + 16);
    out.record.append("None|None||").append(line).append("\n\n\n\n");
}

// Generator: the first severity word after the first word starts the record.
// With the native "file(line) : code (E)" form the message is the code, the
// marker and what follows; otherwise it is every word of the line.
void ClassifyGenerator(LineClass& out, std::string_view line) {
    if (ClassifyGccLine(line) != GccLine::Other) {
        // The generator compiles with gcc: its notes and context count nothing.
        out.record = "None|None||";
        out.record.append(line).append("\n\n\n\n");
        return;
    }
    auto words = detail::SplitWords(line);
    for (size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        bool err = word == "(E)" || HasErrorKeyword(word);
        bool warn = word == "(W)" || HasWarningKeyword(word);
        bool fatal = word == "(F)" || word == "(-)" || HasFatalKeyword(word);
        if (!err && !warn && !fatal && word != "(I)") continue;
        if (err && out.fatals == 0) ++out.errors;
        if (warn) ++out.warnings;
        if (fatal) ++out.fatals;
        if (i == 0) continue;

        size_t messageStart = 0;
        if (i >= 3 && words[i - 2] == ":") {
            std::string_view place = words[i - 3];
            size_t open = place.find('(');
            size_t close = place.rfind(')');
            if (open == std::string_view::npos || close == std::string_view::npos || close < open)
                break; // not the native form after all: unrecognised
            if (open == 0) {
                out.record = "None|None||";
            } else {
                out.record.append(place.substr(0, open)).append("|");
                out.record.append(place.substr(open + 1, close - open - 1)).append("||");
            }
            messageStart = i - 1;
        } else {
            out.record = "None|None||";
        }
        for (size_t k = messageStart; k < words.size(); ++k) {
            if (k > messageStart) out.record.push_back(' ');
            out.record.append(words[k]);
        }
        out.record.append("\n\n");
        return;
    }
    out.record = "None|None||";
    out.record.append(line).append("\n\n\n\n");
}

} // namespace

std::optional<LineClass> ClassifyOutputLine(PhaseIndex phase, std::string_view line) {
    std::string_view banners;
    std::optional<std::string> compilerBanners;
    switch (phase) {
    case kPhaseCompiler:
        compilerBanners = LoadModuleString(strings::kCompilerBanners);
        if (!compilerBanners) return std::nullopt;
        banners = *compilerBanners;
        break;
    case kPhaseAssembler:
        banners = kAssemblerBanners;
        break;
    case kPhaseLinker:
        banners = kLinkerBanners;
        break;
    case kPhaseGenerator:
        banners = kGeneratorBanners;
        break;
    default:
        return std::nullopt;
    }
    LineClass out;
    if (line.empty() || detail::StartsWithAnyOf(banners, line)) {
        out.record = "\n\n";
        return out;
    }
    out.isMessage = true;
    switch (phase) {
    case kPhaseCompiler:
        ClassifyCompiler(out, line);
        break;
    case kPhaseAssembler:
        ClassifyAssembler(out, line);
        break;
    case kPhaseLinker:
        ClassifyLinker(out, line);
        break;
    default:
        ClassifyGenerator(out, line);
        break;
    }
    return out;
}

} // namespace quorle::output
