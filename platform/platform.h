// The one interface to the operating system. Core code calls only this;
// platform/posix and platform/win32 implement it. No OS types appear here.
//
// Paths are passed as the texts hold them (Windows separators "\\" kept);
// the POSIX side turns "\\" into "/" at the file-system boundary only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/limits.h"

namespace quorle::platform {

// ---- Files and directories -------------------------------------------------

enum FileAttribute : uint32_t {
    kAttrNone = 0,
    kAttrReadOnly = 1,
    kAttrHidden = 2,
    kAttrArchive = 4,
    kAttrDirectory = 8,
};

bool FileExists(const std::string& path); // a file or a directory
bool IsDirectory(const std::string& path);
// A file that is not a directory, found with one look at the file system.
bool IsFile(const std::string& path);
// Whole-file reads of a regular file, text mode folding CR LF to LF. The
// file is opened without blocking and the open handle is checked, so a FIFO,
// a device or a directory gives nothing at once; so does a file larger than
// kMaxTextBytes.
std::optional<std::string> ReadFile(const std::string& path, bool textMode);
// The same file's bytes as they are read, a piece at a time, so a large file
// is never held whole; the same checks and cap. False when the file could
// not be opened or read to its end: the pieces handed over are then not all
// of it.
bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece);
// Text mode writes every LF as CR LF, so the bytes match a Windows build.
bool WriteFile(const std::string& path, const std::string& content, bool textMode,
               bool append = false);
// Appends to a log the user names (a transcript, the message-box log),
// creating it when missing. It is opened without blocking and written only
// when the open handle is a regular file: a FIFO nobody reads, a device or a
// directory is refused at once instead of holding the caller up.
bool AppendToLog(const std::string& path, const std::string& text);
std::optional<uint32_t> GetFileAttributes(const std::string& path);
bool SetFileAttributes(const std::string& path, uint32_t attributes);
bool DeleteFile(const std::string& path); // plain files only
// The path as the operating system spells it: on POSIX every "\\" becomes
// "/"; Windows takes the text as it is.
std::string NativePath(const std::string& path);
// True when the path itself is a symbolic link (or, on Windows, another
// reparse point), whatever it points to.
bool IsSymbolicLink(const std::string& path);
// Removes a symbolic link itself, never what it points to; false when the
// path is not a link or it could not be removed.
bool RemoveSymbolicLink(const std::string& path);
// Moves `from` over `to` in one step (an existing `to` is replaced), so that
// a reader sees the old file or the new one, never a part.
bool ReplaceFile(const std::string& from, const std::string& to);
// The file a path names, with every symbolic link on the way followed; nothing
// when there is no such file. (Windows takes the full path as it is.)
std::optional<std::string> FinalPath(const std::string& path);
// True for an existing file the user may change: not marked read-only (no
// write permission bit on POSIX, which root would ignore) and writable for
// the calling user.
bool MayModifyFile(const std::string& path);
// Gives `to` the permissions of `from` (and its owner and group where the
// caller may set them). Windows copies the attributes that still let `to` be
// written (not read-only, hidden or system).
bool CopyFileMode(const std::string& from, const std::string& to);
bool CreateDirectory(const std::string& path); // one level; true when it exists already
std::optional<int64_t> FileModifiedTime(const std::string& path); // ns since epoch
// What a path itself is, a symbolic link not followed; nothing when there is
// no entry. `modified` is the entry's own time (a link's, for a link).
struct EntryStatus {
    bool link = false;
    bool directory = false;
    int64_t modified = 0; // ns since epoch
};
std::optional<EntryStatus> StatEntry(const std::string& path);
// Names (not paths) of the entries matching a wildcard pattern such as
// "C:\\dir\\*.pak"; only "*" and "?" in the last component are wildcards.
std::vector<std::string> FindFiles(const std::string& pattern);
std::string GetCurrentDirectory();
bool SetCurrentDirectory(const std::string& path);
// Absolute form of a path relative to the current directory (GetFullPathName).
std::string FullPath(const std::string& path);
// FullPath as if dir were the current directory; empty when dir is not a
// directory. The process's own current directory is left as it is.
std::string FullPathFrom(const std::string& dir, const std::string& path);
// 8.3 form where the file system has one; otherwise the path unchanged.
std::string ShortPath(const std::string& path);
// Creates a new empty uniquely named file in `dir` and returns its path.
std::optional<std::string> CreateTempFile(const std::string& dir, const std::string& prefix);
// Directory for temporary files, with a trailing separator.
std::string TempDirectory();

// An open output file, for writers that append many lines in one walk.
class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool Open(const std::string& path, bool textMode, bool append);
    bool Write(const std::string& text); // text mode: LF written as CR LF
    bool Close();                        // false when a write or the close failed
    bool IsOpen() const { return handle_ != nullptr; }

  private:
    void* handle_ = nullptr;
    bool textMode_ = false;
    bool failed_ = false;
};

// ---- Private profile (INI) files --------------------------------------------
// Windows private-profile rules: section and key names compared without regard
// to case, values trimmed, the default returned when absent.

// Returns the value (at most bufferSize - 1 characters, as the Windows call
// truncates) and stores the number of characters copied in *copied if given.
std::string ProfileGetString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize = 260, size_t* copied = nullptr);
// Creates the file, section and key as needed.
bool ProfileWriteString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// ---- Registry, current user ---------------------------------------------------
// Default value of a key path such as "Software\\Dravikon\\GNU Support\\Count".
std::optional<std::string> RegistryQueryValue(const std::string& keyPath);
bool RegistrySetValue(const std::string& keyPath, const std::string& value);

// ---- Processes --------------------------------------------------------------

// A time-out that never expires (INFINITE on Windows).
inline constexpr uint32_t kNoTimeout = 0xFFFFFFFFu;

struct ProcessOptions {
    std::string workingDirectory; // empty: the current directory
    uint32_t timeoutMs = 10000;   // a child still running then is terminated
    bool captureOutput = true;    // standard output and error, merged
    // "NAME=value" entries added to (or replacing in) the inherited environment.
    std::vector<std::string> environment = {};
    // Whatever the child left running in its process group is ended once the
    // child itself has ended. Off only for launchers that detach on purpose.
    bool endGroup = true;
    // A child that prints more than this is ended at once (its whole process
    // group) and the result says so.
    size_t maxOutputBytes = kMaxTextBytes;
};

struct ProcessResult {
    bool started = false;
    bool timedOut = false;       // the child was terminated after timeoutMs
    bool interrupted = false;    // an interrupt was passed on to the child
    int exitCode = -1;           // -1 when not started, timed out or over the output cap
    bool outputOverflow = false; // ended for printing more than maxOutputBytes
    std::string output;          // what the child printed, read while it ran
};

// The command line is split the Windows way: blanks separate, double quotes
// group and are removed, backslashes are literal. No window is shown. On
// POSIX each argument then gets "/" for "\\" (the plug-in's paths are
// Windows paths), except macro definitions ("-DNAME=value", "-D" VALUE).
ProcessResult RunProcess(const std::string& commandLine, const ProcessOptions& options);
// The output of a run whose program the system started without a process to
// wait for (Wine does so for the host system's own programs): exit code -1.
inline constexpr const char* kUntrackedProcessMessage =
    "error: the program was started without a process handle (a program of the host system "
    "run by Wine?); its end and exit code cannot be known";
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// ---- Interrupts ----------------------------------------------------------------
// After WatchInterrupts, an interrupt (Ctrl+C, SIGINT, SIGTERM) no longer ends
// the process: it is remembered, RunProcess passes it on to the children it is
// running and waits for them, and the caller winds down in its own time.
void WatchInterrupts();
// The signal number of the first interrupt received, 0 when none.
int PendingInterrupt();
// Forgets a received interrupt (for tests that raise one on purpose).
void ClearInterrupt();
// ---- Threads ------------------------------------------------------------------
// Runs `work` on a new thread with a stack of `stackBytes` and waits for it:
// code that must hold on a host's small stack (1 MiB is a Windows main
// thread's default) is checked that way. False when no thread could start.
bool RunOnThreadWithStack(size_t stackBytes, const std::function<void()>& work);

// ---- Message boxes -----------------------------------------------------------
// With QUORLE_MESSAGES naming a file, each box appends one line to it:
// caption, tab, text (with \\ \n \t escaped), tab, answer. Answers come from
// QUORLE_ANSWERS (comma-separated, consumed one per box); with nothing queued
// the first button is taken. Without QUORLE_MESSAGES the line goes to stderr.

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No };

MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::None);
// A box whose answers are free words (for dialogs that are not message boxes
// on Linux, such as the feedback request). Returns the queued answer or
// `defaultAnswer`, and logs the line the same way.
std::string AskQueued(const std::string& caption, const std::string& text,
                      const std::string& defaultAnswer);
// True while QUORLE_MESSAGES is set: dialogs and shell launches are logged
// instead of shown.
bool MessagesRedirected();
// The logged form of ShowMessage on every platform, whether or not
// QUORLE_MESSAGES is set (the line then goes to standard error): for faces
// that never open a window, such as the scripted options sheet.
MessageAnswer LogMessageBox(const std::string& caption, const std::string& text,
                            MessageButtons buttons = MessageButtons::Ok);
// Appends a free line to the QUORLE_MESSAGES file (for "OPEN\t<path>").
void LogMessageLine(const std::string& line);

// The feedback request: a modal dialog with the text, a "Please don't ask me
// again" check box and the buttons "Provide feedback" and "No thanks". The
// answer is FEEDBACK or NOTHANKS, followed by "+NOASK" when the box was
// checked. Where dialogs are logged (Linux, or QUORLE_MESSAGES set) it is
// AskQueued with NOTHANKS as the default.
std::string ShowFeedbackDialog(const std::string& caption, const std::string& text);

// ---- Shell ---------------------------------------------------------------------
bool ShellOpen(const std::string& path);

// ---- Dynamic libraries ---------------------------------------------------------
// On POSIX a trailing ".dll" (any case) names the shared object ".so" beside it.
void* LoadLibrary(const std::string& path);
void* GetProcAddress(void* library, const std::string& name);
void FreeLibrary(void* library);

// ---- Resources -------------------------------------------------------------------
// The module whose resources (strings, dialogs) the current call uses: null
// stands for the plug-in's own module. The options editor makes its resource
// library current for the length of one call.
void* CurrentResourceModule();
void SetCurrentResourceModule(void* module);
// String `id` of the current resource module's string table. Windows reads
// the module's string resources (the plug-in's own when none is current). On
// POSIX only a current resource library answers, through its exported
// ResourceStringTable; with none current the answer is nothing.
std::optional<std::string> LoadResourceString(int id);

// The form of a resource library's string table on POSIX: the shared object
// exports one object of this type under kResourceTableSymbol.
struct ResourceStringEntry {
    int32_t id;
    const char* text;
};
struct ResourceStringTable {
    uint32_t magic; // kResourceTableMagic: guards against a stray symbol of that name
    uint32_t count;
    const ResourceStringEntry* entries;
};
inline constexpr const char* kResourceTableSymbol = "QuorleResourceStrings";
inline constexpr uint32_t kResourceTableMagic = 0x51525331u; // "QRS1"

// ---- Common controls -------------------------------------------------------------
struct CommonControlsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};
// The version the common-controls library reports, or nothing where the
// platform has no such library (the windowless builds).
std::optional<CommonControlsVersion> GetCommonControlsVersion();

// ---- Environment and system --------------------------------------------------------
std::optional<std::string> GetEnv(const std::string& name);
bool SetEnv(const std::string& name, const std::string& value);
bool UnsetEnv(const std::string& name);
std::vector<std::string> EnvironmentStrings(); // "NAME=value" entries

struct OsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};
OsVersion GetOsVersion();

// The local date and time as text, formatted with strftime in the C locale.
std::string FormatLocalTime(const char* format);

// True when standard output goes to a terminal (a console on Windows).
bool StandardOutputIsTerminal();
// True when standard input comes from a terminal (a console on Windows).
bool StandardInputIsTerminal();
// The width of the terminal standard output goes to, in columns; 0 when it
// is none or cannot be told.
size_t TerminalColumns();

} // namespace quorle::platform
