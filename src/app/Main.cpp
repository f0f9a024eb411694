// The builder's entry point.
#include <windows.h>

#include <memory>

#include "app/Application.h"
#include "core/Exception.h"
#include "editor/MessageBox.h"

namespace {

constexpr const char* kMutexName = "{quillset builder kvkvkvkv-kvkv-kvkv-kvkv-kvkvkvkvkvkv}";

// The single-instance mutex, closed at the end of the process.
class InstanceMutex {
public:
    InstanceMutex() : handle_(CreateMutexA(nullptr, FALSE, kMutexName)), error_(GetLastError()) {}
    ~InstanceMutex() {
        if (handle_) CloseHandle(handle_);
    }
    DWORD Error() const { return error_; }

private:
    HANDLE handle_;
    DWORD error_;
};

void ShowStartError(const Exception& error) {
    char code[32];
    wsprintfA(code, " (%d)", error.Code());
    ShowMessage(nullptr, error.Text() + code, "Application Error", MessageKind::Error);
}

}  // namespace

// The application object is made here rather than before the entry point, so that a failure
// to start (COM, the rich-edit library, the version check) can be shown to the user.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    try {
        auto application = std::make_unique<Application>();
        InstanceMutex mutex;
        application->SetMutexError(mutex.Error());
        application->SetInstance(instance);
        if (!application->InitInstance()) {
            application->ExitInstance();
            return -1;
        }
        return application->Run();
    } catch (const Exception& error) {
        ShowStartError(error);
        return -1;
    }
}
