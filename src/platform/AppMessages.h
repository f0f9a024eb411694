#pragma once
// The program's own window messages, every one that a window of the program sends or posts to
// another: all lie in the range the system leaves to applications (WM_APP to 0xBFFF), apart from
// the command ids of menus, toolbar and controls (WM_COMMAND) and from the messages of the
// system's control classes (WM_USER up to WM_APP). Window procedures hand them to a handler of
// their own, never to the command handlers.
namespace app_messages {

// WM_APP and the last message number an application may give its own meaning.
constexpr unsigned kFirst = 0x8000;
constexpr unsigned kLast = 0xBFFF;

constexpr bool IsAppMessage(unsigned message) { return message >= kFirst && message <= kLast; }

// A worker thread's progress, read by the window's thread when it arrives; the worker's end.
constexpr unsigned kWorkProgress = kFirst + 1;
constexpr unsigned kWorkFinished = kFirst + 2;
// A splitter's drag ended; lParam: the split position in whole percent of the parent's width.
constexpr unsigned kSplitPosition = kFirst + 16;
// A list page's row was opened (double click); lParam: the row.
constexpr unsigned kActivateRow = kFirst + 17;
// The read-only files page tells its hosting dialog that its selection changed.
constexpr unsigned kPageSelection = kFirst + 18;

}  // namespace app_messages
