#pragma once
// One setup or uninstaller of a product at a time: a named mutex (see ProductLockName), held
// until the program ends. The system hands a mutex whose holder was killed to the next waiter,
// so a crashed setup never locks the product out.
#include <windows.h>

#include <functional>
#include <string>

class ProductLock {
public:
    ProductLock() = default;
    ~ProductLock();
    ProductLock(const ProductLock&) = delete;
    ProductLock& operator=(const ProductLock&) = delete;

    // CreateMutexA and a wait without time: false when another program holds the lock (or the
    // mutex cannot be made, which holds no one back).
    bool TryTake(const std::string& name);
    // Waits for the lock while the thread's windows keep answering; false when `stop` says so
    // (asked several times a second).
    bool Wait(const std::function<bool()>& stop);
    // Gives the lock up (to a run of the same setup started again with rights); TryTake takes it again.
    void Release();
    bool Held() const { return owned_; }

private:
    HANDLE mutex_ = nullptr;
    bool owned_ = false;
};

// An uninstaller removes its own program and the folders it leaves empty through a copy that runs
// after it has ended. The copy holds the mutex of this name (the product lock's name with a
// suffix) from before the uninstaller ends until its work is done, so that a setup or uninstaller
// of the product never works beside it: a folder that a setup makes could otherwise vanish under
// it, or be taken for one that was there before.
std::string PendingRemovalName(const std::string& lockName);

// Takes the product's lock for a setup or an uninstaller: at once, or, unless `silent`, after
// waiting behind a small window with `heading` and a Cancel button. kExitDone when taken,
// kExitBusy (silent) or kExitCancelled when not. Once taken, an uninstaller's removal copy still
// at work is waited for (silent or not: it ends within moments), at most kPendingRemovalWait ms.
constexpr unsigned long kPendingRemovalWait = 120000;
int LockProduct(ProductLock& lock, const std::string& name, bool silent, const std::string& caption,
                const std::string& heading, const std::string& cancelText);
