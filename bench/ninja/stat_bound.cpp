// The least a no-op build can do: read the state file once, and ask the file
// system for the time of each path it names (the dependencies in its path
// table and the files the steps made), once each. Prints the count.
//
//   quorle-stat-bound <configdir>/.quorle-host-state
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (size_t start = 0;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorle-stat-bound STATE-FILE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && text.empty()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    std::unordered_set<std::string_view> paths;
    std::string_view rest(text);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        std::vector<std::string_view> f = Fields(line);
        if (f[0] == "p" && f.size() >= 3) {
            paths.insert(line.substr(f[2].data() - line.data()));
        } else if (f[0] == "s" && f.size() >= 6) {
            // s, key, two hashes, flags, the dependency count and indices,
            // then the count of made files and their paths.
            size_t deps = 0;
            auto read = std::from_chars(f[5].data(), f[5].data() + f[5].size(), deps);
            if (read.ec != std::errc()) continue; // a line that does not read names nothing
            size_t at = 6 + deps;
            if (at >= f.size()) continue;
            for (size_t i = at + 1; i < f.size(); ++i) paths.insert(f[i]);
        }
    }
    size_t found = 0;
    std::error_code error;
    for (std::string_view p : paths) {
        // One stat each, as a build's check makes.
        auto time = std::filesystem::last_write_time(std::filesystem::path(p), error);
        (void)time;
        if (!error) ++found;
    }
    std::printf("%zu paths, %zu found\n", paths.size(), found);
    return 0;
}
