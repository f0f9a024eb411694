#pragma once
// The message loop with idle processing that the builder runs.
#include <windows.h>

class ApplicationBase {
public:
    ApplicationBase() = default;
    ApplicationBase(const ApplicationBase&) = delete;
    ApplicationBase& operator=(const ApplicationBase&) = delete;

    // Operations, in the order derived applications override them.
    virtual ~ApplicationBase() = default;
    // True runs the message loop.
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }
    // True when the message was handled and must not be dispatched.
    virtual bool PreTranslateMessage(MSG& /*message*/) { return false; }
    // Called with the number of the idle pass; true asks for another pass.
    virtual bool OnIdle(int /*pass*/) { return false; }

    // Runs the loop until WM_QUIT; answers the quit message's exit code.
    int Run();
};

// Messages that arrive continuously while the mouse moves or a window paints; they do not
// start the idle passes again from the beginning.
bool IsRepeatingMessage(UINT message);
