#include "host/workspace.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "host/closest.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

std::string Absolute(const std::string& base, const std::string& path) {
    fs::path p(path);
    if (!p.is_absolute()) p = fs::path(base) / p;
    std::string out = p.lexically_normal().generic_string();
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    return out;
}

std::string StringField(const json& object, const char* key, const std::string& fallback = "") {
    auto it = object.find(key);
    if (it == object.end() || it->is_null()) return fallback;
    if (!it->is_string()) throw std::runtime_error(std::string("\"") + key + "\" must be a string");
    return it->get<std::string>();
}

// Every key of an object is one the host reads; a misspelled one would be
// silently ignored otherwise.
void CheckKeys(const json& object, const std::vector<std::string>& known,
               const std::string& where) {
    for (auto& [key, value] : object.items()) {
        bool ok = false;
        for (const std::string& k : known) ok = ok || k == key;
        if (!ok)
            throw std::runtime_error("unknown key \"" + key + "\" in " + where +
                                     DidYouMean(key, known));
    }
}

// A text the host hands on ends at its first NUL, so a workspace holding
// one would lose what follows without a word. Iterative, and each place is
// spelt out only for the message: the nesting is the file's to choose.
void RefuseNul(const json& root) {
    struct Node {
        const json* value;
        size_t parent;     // index into nodes; the root is its own
        std::string label; // ".key" or "[i]"
    };
    std::vector<Node> nodes{{&root, 0, ""}};
    std::vector<size_t> pending{0};
    auto refuse = [&nodes](size_t at, bool key) {
        std::string place;
        for (size_t n = at; n != 0; n = nodes[n].parent) place = nodes[n].label + place;
        if (!place.empty() && place[0] == '.') place.erase(0, 1);
        for (size_t i = place.find('\0'); i != std::string::npos; i = place.find('\0', i))
            place.replace(i, 1, "\\u0000");
        throw std::runtime_error("a NUL character (\\u0000) in " +
                                 (place.empty()
                                      ? std::string("the workspace")
                                      : std::string(key ? "the key " : "") + "\"" + place + "\"") +
                                 ": no text the plug-in is given can hold one");
    };
    while (!pending.empty()) {
        size_t at = pending.back();
        pending.pop_back();
        const json& value = *nodes[at].value;
        if (value.is_string()) {
            if (value.get_ref<const std::string&>().find('\0') != std::string::npos)
                refuse(at, false);
        } else if (value.is_object()) {
            for (auto& [key, item] : value.items()) {
                nodes.push_back({&item, at, "." + key});
                if (key.find('\0') != std::string::npos) refuse(nodes.size() - 1, true);
                pending.push_back(nodes.size() - 1);
            }
        } else if (value.is_array()) {
            for (size_t i = 0; i < value.size(); ++i) {
                nodes.push_back({&value[i], at, "[" + std::to_string(i) + "]"});
                pending.push_back(nodes.size() - 1);
            }
        }
    }
}

std::vector<std::string> LauncherWords(const json& root) {
    auto it = root.find("launcher");
    if (it == root.end() || it->is_null()) return {};
    std::vector<std::string> words;
    if (it->is_string()) {
        if (!it->get_ref<const std::string&>().empty()) words.push_back(it->get<std::string>());
    } else if (it->is_array()) {
        for (const json& word : *it) {
            if (!word.is_string())
                throw std::runtime_error("\"launcher\" must hold strings, one word each");
            words.push_back(word.get<std::string>());
        }
    } else {
        throw std::runtime_error("\"launcher\" must be a string or an array of words");
    }
    std::string error;
    for (const std::string& word : words)
        if (!LauncherWordOk(word, error)) throw std::runtime_error(error);
    return words;
}

OptionEntry ParseOptionEntry(const json& entry) {
    if (!entry.is_object()) throw std::runtime_error("an option entry must be an object");
    CheckKeys(entry, {"phase", "fileType", "file", "config", "value"}, "an option entry");
    OptionEntry option;
    option.phase = StringField(entry, "phase");
    option.fileType = StringField(entry, "fileType");
    option.file = StringField(entry, "file");
    option.config = StringField(entry, "config");
    option.value = StringField(entry, "value");
    if (option.phase.empty()) throw std::runtime_error("an option entry needs a \"phase\"");
    return option;
}

Project ParseProject(const json& item, const std::string& workspaceDir) {
    if (!item.is_object()) throw std::runtime_error("a project must be an object");
    CheckKeys(item, {"name", "dir", "configurations", "files", "options"}, "a project");
    Project project;
    project.name = StringField(item, "name");
    if (project.name.empty()) throw std::runtime_error("a project needs a \"name\"");
    project.dir = Absolute(workspaceDir, StringField(item, "dir", project.name));
    if (auto it = item.find("configurations"); it != item.end()) {
        if (!it->is_object()) throw std::runtime_error("\"configurations\" must be an object");
        for (auto& [name, dir] : it->items()) {
            if (!dir.is_string())
                throw std::runtime_error("configuration \"" + name + "\" needs a directory");
            project.configurations.push_back({name, dir.get<std::string>()});
        }
    }
    if (project.configurations.empty()) project.configurations = {{"DEBUG", "Debug"}};
    if (auto it = item.find("files"); it != item.end()) {
        for (const json& file : *it) {
            if (!file.is_string()) throw std::runtime_error("\"files\" must hold strings");
            project.files.push_back(file.get<std::string>());
        }
    }
    if (auto it = item.find("options"); it != item.end()) {
        for (const json& entry : *it) project.options.push_back(ParseOptionEntry(entry));
    }
    return project;
}

// "12:5" for the byte at `offset` (lines and columns from 1), for messages
// an editor can jump to.
std::string LineColumn(const std::string& text, size_t offset) {
    offset = std::min(offset, text.size());
    size_t line = 1 + static_cast<size_t>(std::count(
                          text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    size_t start = text.rfind('\n', offset == 0 ? 0 : offset - 1);
    size_t column = start == std::string::npos || offset == 0 ? offset + 1 : offset - start;
    return std::to_string(line) + ":" + std::to_string(column);
}

// Where the token the parser stopped at begins: it reports the byte after
// the token's last.
size_t TokenStart(const std::string& text, size_t after) {
    if (after == 0) return 0;
    size_t last = std::min(after - 1, text.size());
    if (last < text.size() && text[last] == '"')
        for (size_t i = last; i-- > 0;)
            if (text[i] == '"' && (i == 0 || text[i - 1] != '\\')) return i;
    return last;
}

// The parser's "syntax error while parsing object separator - unexpected
// '}'; expected ':'" said as a sentence: what was expected, where, and what
// came instead.
std::string SyntaxWords(const std::string& what) {
    std::string text = what;
    if (size_t at = text.find("syntax error"); at != std::string::npos) text.erase(0, at);
    std::string context, rest = text;
    if (size_t dash = text.find(" - "); dash != std::string::npos) {
        std::string head = text.substr(0, dash);
        rest = text.substr(dash + 3);
        const std::string whileParsing = "while parsing ";
        if (size_t at = head.find(whileParsing); at != std::string::npos)
            context = head.substr(at + whileParsing.size());
    }
    static const std::pair<const char*, const char*> kWhere[] = {
        {"object key", "for a key"}, {"object separator", "after a key"},
        {"object", "in an object"},  {"array", "in an array"},
        {"value", "for a value"},
    };
    std::string where;
    for (const auto& [name, words] : kWhere)
        if (context == name) where = words;
    std::string found, expected;
    const std::string unexpected = "unexpected ", expects = "; expected ";
    size_t e = rest.find(expects);
    if (e != std::string::npos) expected = rest.substr(e + expects.size());
    std::string head = rest.substr(0, e);
    if (head.rfind(unexpected, 0) == 0) found = head.substr(unexpected.size());
    if (found.empty()) // the lexer's own words: "invalid literal; last read: 'tru'"
        return "syntax error: " + head + (where.empty() ? "" : " " + where) +
               (expected.empty() ? "" : ", expected " + expected);
    if (expected.empty())
        return "syntax error: unexpected " + found + (where.empty() ? "" : " " + where);
    return "syntax error: expected " + expected + (where.empty() ? "" : " " + where) + ", found " +
           found;
}

// Where `"phase": "NAME"` first stands in the text, for the message; empty
// when it cannot be told.
std::string PlaceOfPhase(const std::string& text, const std::string& name) {
    std::string quoted = json(name).dump();
    for (size_t at = text.find(quoted); at != std::string::npos; at = text.find(quoted, at + 1)) {
        size_t colon = text.find_last_not_of(" \t\r\n", at == 0 ? 0 : at - 1);
        if (colon == std::string::npos || text[colon] != ':') continue;
        size_t key = text.find_last_not_of(" \t\r\n", colon == 0 ? 0 : colon - 1);
        if (key != std::string::npos && key >= 6 && text.compare(key - 6, 7, "\"phase\"") == 0)
            return LineColumn(text, at);
    }
    return "";
}

// An error at a known place of the file: "line:column".
struct PlacedError : std::runtime_error {
    PlacedError(std::string at, const std::string& message)
        : std::runtime_error(message), place(std::move(at)) {}
    std::string place;
};

// An option entry for a phase the host does not know applies to no step at
// all; the build would go on without it and fail far from the cause.
void CheckOptionPhases(const Workspace& ws, const std::string& text) {
    std::vector<std::string> known = ws.phases;
    for (const std::string& name : DefaultPhaseNames())
        if (std::find(known.begin(), known.end(), name) == known.end()) known.push_back(name);
    std::vector<std::string> words = known; // with the short forms the entries use
    for (const std::string& name : known)
        if (size_t space = name.rfind(' '); space != std::string::npos)
            words.push_back(name.substr(space + 1));
    for (const Project& project : ws.projects)
        for (const OptionEntry& entry : project.options) {
            bool found = false;
            for (const std::string& name : known) found = found || PhaseMatches(entry.phase, name);
            if (found) continue;
            std::string near = Closest(entry.phase, words);
            throw PlacedError(
                PlaceOfPhase(text, entry.phase),
                "unknown phase \"" + entry.phase + "\" in an option entry of project " +
                    project.name + (near.empty() ? "" : "; did you mean \"" + near + "\"?") +
                    " (phases: " +
                    [&] {
                        std::string list;
                        for (const std::string& name : known)
                            list += (list.empty() ? "" : ", ") + name;
                        return list;
                    }() +
                    ")");
        }
}

} // namespace

const std::vector<std::string>& DefaultPhaseNames() {
    static const std::vector<std::string> names = {"GNU Library Generator", "GNU Compiler",
                                                   "GNU Assembler", "GNU Linker"};
    return names;
}

std::optional<Workspace> ParseWorkspace(const std::string& text, const std::string& path,
                                        std::string& error) {
    try {
        json root = json::parse(text, nullptr, true, /*ignore_comments=*/true);
        if (!root.is_object()) throw std::runtime_error("the workspace must be a JSON object");
        RefuseNul(root);
        CheckKeys(root,
                  {"workspace", "settings", "toolchain", "cpuSeries", "toolchainDir", "launcher",
                   "placeholders", "phases", "projects"},
                  "the workspace");
        Workspace ws;
        ws.path = Absolute(fs::current_path().generic_string(), path);
        ws.dir = fs::path(ws.path).parent_path().generic_string();
        ws.name = StringField(root, "workspace", fs::path(path).stem().string());
        ws.settingsName = StringField(root, "settings", ws.name);
        ws.toolchainName = StringField(root, "toolchain");
        ws.cpuSeries = StringField(root, "cpuSeries");
        ws.launcher = LauncherWords(root);
        std::string tc = StringField(root, "toolchainDir");
        if (!tc.empty()) ws.toolchainDir = Absolute(ws.dir, tc);
        if (auto it = root.find("placeholders"); it != root.end()) {
            if (!it->is_object()) throw std::runtime_error("\"placeholders\" must be an object");
            for (auto& [name, value] : it->items()) {
                if (!value.is_string())
                    throw std::runtime_error("placeholder \"" + name + "\" must be a string");
                ws.placeholders.emplace_back(name, value.get<std::string>());
            }
        }
        if (auto it = root.find("phases"); it != root.end()) {
            for (const json& phase : *it) {
                if (!phase.is_string()) throw std::runtime_error("\"phases\" must hold strings");
                ws.phases.push_back(phase.get<std::string>());
            }
        }
        if (ws.phases.empty()) ws.phases = DefaultPhaseNames();
        if (auto it = root.find("projects"); it != root.end()) {
            for (const json& item : *it) ws.projects.push_back(ParseProject(item, ws.dir));
        }
        if (ws.projects.empty()) throw std::runtime_error("the workspace has no projects");
        CheckOptionPhases(ws, text);
        return ws;
    } catch (const json::parse_error& e) {
        error = path + ":" + LineColumn(text, TokenStart(text, e.byte)) +
                ": error: " + SyntaxWords(e.what());
        return std::nullopt;
    } catch (const PlacedError& e) {
        error = path + (e.place.empty() ? "" : ":" + e.place) + ": error: " + e.what();
        return std::nullopt;
    } catch (const std::exception& e) {
        error = path + ": error: " + e.what();
        return std::nullopt;
    }
}

std::optional<Workspace> LoadWorkspace(const std::string& path, std::string& error) {
    auto text = platform::ReadFile(path, false);
    if (!text) {
        error = "cannot read the workspace " + path;
        return std::nullopt;
    }
    return ParseWorkspace(*text, path, error);
}

bool LauncherWordOk(const std::string& word, std::string& error) {
    if (word.empty()) {
        error = "a launcher word may not be empty";
        return false;
    }
    if (word.find('"') != std::string::npos) {
        error = "the launcher word " + word + " holds a double quote, which cannot be passed on";
        return false;
    }
    return true;
}

bool PhaseMatches(const std::string& entryPhase, const std::string& phaseName) {
    if (entryPhase.size() > phaseName.size()) return false;
    return phaseName.compare(phaseName.size() - entryPhase.size(), entryPhase.size(), entryPhase) ==
           0;
}

std::optional<std::string> FindOptions(const Project& project, const std::string& phaseName,
                                       const std::string& config, const std::string& fileType,
                                       const std::string& file) {
    const OptionEntry* best = nullptr;
    int bestScore = -1;
    for (const OptionEntry& entry : project.options) {
        if (!PhaseMatches(entry.phase, phaseName)) continue;
        bool anyConfig = entry.config.empty() || entry.config == "*";
        if (!anyConfig && entry.config != config) continue;
        int score = anyConfig ? 0 : 1;
        if (!entry.file.empty()) {
            if (entry.file != file) continue;
            score += 4;
        } else if (!entry.fileType.empty()) {
            if (entry.fileType != fileType) continue;
            score += 2;
        }
        // Later entries win ties, as a later line in a file overrides.
        if (score >= bestScore) {
            best = &entry;
            bestScore = score;
        }
    }
    if (best == nullptr) return std::nullopt;
    return best->value;
}

} // namespace quorle::host
