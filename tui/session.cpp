#include "tui/session.h"

#include <curses.h>
#include <signal.h>

#include <array>
#include <cstdlib>

namespace quorle::tui {
namespace {

constexpr std::array<int, 4> kSignals = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};
struct sigaction g_previous[NSIG];
bool g_installed[NSIG];
volatile sig_atomic_t g_interrupted = 0;
// Curses installs its own handlers for these; they go when the view's code
// may be unloaded.
constexpr std::array<int, 2> kCursesSignals = {SIGTSTP, SIGWINCH};
struct sigaction g_beforeCurses[kCursesSignals.size()];

void Restore() {
    for (int sig : kSignals) {
        if (!g_installed[sig]) continue;
        sigaction(sig, &g_previous[sig], nullptr);
        g_installed[sig] = false;
    }
}

void OnSignal(int sig, siginfo_t* info, void* context) {
    endwin();
    const struct sigaction previous = g_previous[sig];
    Restore();
    if ((previous.sa_flags & SA_SIGINFO) != 0 && previous.sa_sigaction != nullptr) {
        previous.sa_sigaction(sig, info, context);
    } else if (previous.sa_handler == SIG_DFL) {
        raise(sig); // delivered once this handler returns: the default action
        return;
    } else if (previous.sa_handler != SIG_IGN) {
        previous.sa_handler(sig);
    }
    // The host's handler let the process live on: the view takes over again.
    g_interrupted = 1;
}

void Install() {
    for (int sig : kSignals) {
        struct sigaction current{};
        sigaction(sig, nullptr, &current);
        // A signal the host ignores stays ignored.
        if ((current.sa_flags & SA_SIGINFO) == 0 && current.sa_handler == SIG_IGN) continue;
        struct sigaction mine{};
        mine.sa_sigaction = OnSignal;
        mine.sa_flags = SA_SIGINFO;
        sigemptyset(&mine.sa_mask);
        g_previous[sig] = current;
        sigaction(sig, &mine, nullptr);
        g_installed[sig] = true;
    }
}

bool ColourWanted() {
    const char* noColour = std::getenv("NO_COLOR");
    return (noColour == nullptr || *noColour == '\0') && has_colors();
}

} // namespace

Session::Session() {
    for (size_t i = 0; i < kCursesSignals.size(); ++i)
        sigaction(kCursesSignals[i], nullptr, &g_beforeCurses[i]);
    Install();
    initscr();
    raw(); // also turns flow control off, so Ctrl-S reaches the view
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    curs_set(0);
    looks_.title = A_REVERSE;
    looks_.focus = A_REVERSE;
    looks_.selected = A_BOLD;
    looks_.active = A_BOLD | A_UNDERLINE;
    looks_.dim = A_DIM;
    looks_.mnemonic = A_UNDERLINE;
    looks_.dialog = A_NORMAL;
    if (ColourWanted()) {
        start_color();
        use_default_colors();
        init_pair(1, COLOR_WHITE, COLOR_BLUE);
        init_pair(2, COLOR_BLACK, COLOR_CYAN);
        init_pair(3, COLOR_YELLOW, -1);
        looks_.title = static_cast<int>(COLOR_PAIR(1) | A_BOLD);
        looks_.dialog = static_cast<int>(COLOR_PAIR(2));
        looks_.selected = static_cast<int>(COLOR_PAIR(3) | A_BOLD);
    }
}

Session::~Session() {
    curs_set(1);
    endwin();
    Restore();
    for (size_t i = 0; i < kCursesSignals.size(); ++i)
        sigaction(kCursesSignals[i], &g_beforeCurses[i], nullptr);
    g_interrupted = 0;
}

void Session::ResumeIfInterrupted() {
    if (g_interrupted == 0) return;
    g_interrupted = 0;
    Install();
    raw();
    noecho();
    keypad(stdscr, TRUE);
    clearok(stdscr, TRUE);
    refresh();
}

} // namespace quorle::tui
