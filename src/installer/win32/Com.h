#pragma once
// What the installer programs' COM calls share: an interface pointer that releases itself, and
// the wide strings that COM takes.
#include <string>

// Holds a COM interface and releases it.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    void** OutVoid() { return reinterpret_cast<void**>(&p_); }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

// A text of the process's code page as UTF-16: UTF-8 in the installer programs, whose manifests
// declare it.
std::wstring Wide(const std::string& text);
// A UTF-16 text in the process's code page, UTF-8 like the rest of the installer's texts.
std::string Narrow(const wchar_t* text);
