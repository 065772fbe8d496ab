#include "host/session.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "core/ascii_text.h"
#include "options/option_string.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& args,
                                            bool takesPositional, std::string& error) {
    HostOptions options;
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        if (arg == "--config" || arg == "-c") {
            auto v = value("--config");
            if (!v) return std::nullopt;
            options.config = *v;
        } else if (arg == "--project" || arg == "-p") {
            auto v = value("--project");
            if (!v) return std::nullopt;
            options.project = *v;
        } else if (arg == "--toolchain") {
            auto v = value("--toolchain");
            if (!v) return std::nullopt;
            options.toolchain = *v;
        } else if (arg == "--launcher") {
            auto v = value("--launcher");
            if (!v) return std::nullopt;
            if (!LauncherWordOk(*v, error)) return std::nullopt;
            options.launcher.push_back(*v);
        } else if (arg == "--wait") {
            options.wait = true;
        } else if (arg.rfind("-k", 0) == 0 || arg == "--keep-going") {
            // "-k N", "-kN", or "-k" alone: N failed steps stop the build, 0
            // never; without a number it never stops either.
            std::string text = arg.size() > 2 && arg[1] == 'k' ? arg.substr(2) : "";
            bool digits = [](const std::string& t) {
                return !t.empty() && t.find_first_not_of("0123456789") == std::string::npos;
            }(i + 1 < args.size() ? args[i + 1] : "");
            if (text.empty() && digits) text = args[++i];
            int64_t n = text.empty() ? 0 : options::ParseDecimal(text, 0, 1000000000, -1, false);
            if (n < 0 || text.find_first_not_of("0123456789") != std::string::npos) {
                error = "-k needs a number of failures (0: never stop)";
                return std::nullopt;
            }
            options.keepGoing = true;
            options.failureLimit = static_cast<size_t>(n);
        } else if (arg == "-n" || arg == "--dry-run") {
            options.dryRun = true;
        } else if (arg.rfind("-j", 0) == 0) {
            std::string text = arg.size() > 2 ? arg.substr(2) : "";
            if (text.empty()) {
                auto v = value("-j");
                if (!v) return std::nullopt;
                text = *v;
            }
            int64_t n = options::ParseDecimal(text, 0, 256, -1, false);
            if (n < 1 || text.find_first_not_of("0123456789") != std::string::npos) {
                error = "-j needs a number from 1 to 256";
                return std::nullopt;
            }
            options.jobs = static_cast<size_t>(n);
            options.jobsGiven = true;
        } else if (arg == "-v" || arg == "--verbose") {
            options.verbose = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else {
            plain.push_back(arg);
        }
    }
    size_t first = 0;
    if (!plain.empty() &&
        (!takesPositional || plain.size() > 1 || fs::path(plain[0]).extension() == ".qws")) {
        options.workspace = plain[0];
        first = 1;
    }
    options.positional.assign(plain.begin() + static_cast<std::ptrdiff_t>(first), plain.end());
    if (!takesPositional && !options.positional.empty()) {
        error = "unexpected argument " + options.positional.front();
        return std::nullopt;
    }
    if (options.workspace.empty()) {
        std::vector<std::string> found;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::current_path(), ec))
            if (entry.path().extension() == ".qws")
                found.push_back(entry.path().filename().string());
        if (found.size() != 1) {
            error = found.empty() ? "no workspace given and no *.qws file here"
                                  : "several *.qws files here; name the workspace";
            return std::nullopt;
        }
        options.workspace = found.front();
    }
    return options;
}

std::unique_ptr<Session> Session::Open(const HostOptions& options, const std::string& program,
                                       std::string& error) {
    auto workspace = LoadWorkspace(options.workspace, error);
    if (!workspace) return nullptr;
    auto session = std::unique_ptr<Session>(new Session());
    session->options_ = options;
    session->workspace_ = std::move(*workspace);
    std::string tc = options.toolchain;
    if (tc.empty())
        if (auto env = platform::GetEnv("QUORLE_TOOLCHAIN")) tc = *env;
    if (!tc.empty())
        session->workspace_.toolchainDir =
            fs::absolute(fs::path(tc)).lexically_normal().generic_string();
    while (session->workspace_.toolchainDir.size() > 1 &&
           session->workspace_.toolchainDir.back() == '/')
        session->workspace_.toolchainDir.pop_back();
    fs::path self = fs::absolute(fs::path(program.empty() ? "." : program));
    session->hostDir_ = self.parent_path().lexically_normal().generic_string();
    std::string temp = platform::TempDirectory();
    while (temp.size() > 1 && (temp.back() == '/' || temp.back() == '\\')) temp.pop_back();
    session->tempDir_ = temp;
    if (!options.project.empty() && session->Projects().empty()) {
        error = "no project named " + options.project;
        return nullptr;
    }
    return session;
}

std::vector<const Project*> Session::Projects() const {
    std::vector<const Project*> projects;
    for (const Project& p : workspace_.projects)
        if (options_.project.empty() || p.name == options_.project) projects.push_back(&p);
    return projects;
}

const Configuration* Session::ConfigOf(const Project& project, std::string* error) const {
    if (options_.config.empty()) return &project.configurations.front();
    const Configuration* folded = nullptr;
    int foldedCount = 0;
    std::string valid;
    for (const Configuration& c : project.configurations) {
        if (c.name == options_.config) return &c;
        if (core::EqualsIgnoringCase(c.name, options_.config)) folded = &c, ++foldedCount;
        valid += (valid.empty() ? "" : ", ") + c.name;
    }
    if (foldedCount == 1) return folded;
    if (error != nullptr)
        *error = "project " + project.name + " has no configuration " + options_.config +
                 " (valid: " + valid + ")";
    return nullptr;
}

std::unique_ptr<ProjectContext>
Session::ContextFor(const Project& project, const Configuration& config, bool create) const {
    auto context =
        std::make_unique<ProjectContext>(workspace_, project, config, hostDir_, tempDir_);
    std::error_code ec;
    if (create) fs::create_directories(context->configDir(), ec);
    return context;
}

const std::vector<std::string>& Session::Launcher() const {
    return options_.launcher.empty() ? workspace_.launcher : options_.launcher;
}

size_t Session::Jobs(std::string* note) const {
    size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
    if (!options_.jobsGiven) return cores;
    if (options_.jobs <= cores || !Launcher().empty()) return options_.jobs;
    if (note != nullptr)
        *note = "-j " + std::to_string(options_.jobs) + " is more than the " +
                std::to_string(cores) + " cores here; using " + std::to_string(cores) +
                " (a launcher that distributes, such as distcc, allows more)";
    return cores;
}

} // namespace quorle::host
