#include "installer/win32/ProductLock.h"

#include "installer/win32/ProgressWindow.h"
#include "package/ExitCodes.h"

ProductLock::~ProductLock() { Release(); }

void ProductLock::Release() {
    if (owned_) ReleaseMutex(mutex_);
    if (mutex_) CloseHandle(mutex_);
    mutex_ = nullptr;
    owned_ = false;
}

bool ProductLock::TryTake(const std::string& name) {
    mutex_ = CreateMutexA(nullptr, FALSE, name.c_str());
    if (!mutex_) return true;
    DWORD result = WaitForSingleObject(mutex_, 0);
    owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    return owned_;
}

bool ProductLock::Wait(const std::function<bool()>& stop) {
    while (!owned_) {
        DWORD result = MsgWaitForMultipleObjects(1, &mutex_, FALSE, 200, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
            owned_ = true;
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (stop()) return false;
    }
    return true;
}

std::string PendingRemovalName(const std::string& lockName) { return lockName + ".Removal"; }

namespace {

// Waits until no removal copy of the product holds `name`: the mutex exists only while one does.
// The thread's windows keep answering meanwhile.
void WaitForPendingRemoval(const std::string& name) {
    HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, name.c_str());
    if (!mutex) return;
    const ULONGLONG until = GetTickCount64() + kPendingRemovalWait;
    for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
        const DWORD result = MsgWaitForMultipleObjects(1, &mutex, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED_0) {
            ReleaseMutex(mutex);
            break;
        }
        if (result != WAIT_OBJECT_0 + 1) break;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    CloseHandle(mutex);
}

int TakeLock(ProductLock& lock, const std::string& name, bool silent, const std::string& caption,
             const std::string& heading, const std::string& cancelText) {
    if (lock.TryTake(name)) return kExitDone;
    if (silent) return kExitBusy;
    ProgressWindow window;
    bool stopped = false;
    window.onCancel = [&] { stopped = true; };
    if (!window.Create(caption, heading, cancelText, std::string())) return kExitBusy;
    return lock.Wait([&] { return stopped; }) ? kExitDone : kExitCancelled;
}

}  // namespace

int LockProduct(ProductLock& lock, const std::string& name, bool silent, const std::string& caption,
                const std::string& heading, const std::string& cancelText) {
    const int taken = TakeLock(lock, name, silent, caption, heading, cancelText);
    if (taken == kExitDone) WaitForPendingRemoval(PendingRemovalName(name));
    return taken;
}
