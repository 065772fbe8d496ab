// The terminal while the sheet shows: curses started in raw mode (so that
// Ctrl-S and Ctrl-C arrive as keys), a short Escape delay, colours unless
// NO_COLOR says otherwise, and signal handlers that put the terminal back
// before they hand the signal on to the handlers that were there before.
#pragma once

namespace quorle::tui {

// Attributes of the parts of the screen; plain attributes (reverse, bold,
// underline) so that a monochrome terminal stays legible.
struct Looks {
    int title = 0;
    int focus = 0;
    int selected = 0;
    int active = 0;
    int dim = 0;
    int mnemonic = 0;
    int dialog = 0;
};

class Session {
  public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const Looks& looks() const { return looks_; }
    // After a signal whose earlier handler returned: takes the terminal back.
    void ResumeIfInterrupted();

  private:
    Looks looks_;
};

} // namespace quorle::tui
