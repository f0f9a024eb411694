#pragma once
// The exception family of the builder. Every exception carries a kind number,
// a text and an integer code; the kind tells the family member apart.
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    Exception(int kind, std::string text, int code)
        : kind_(kind), text_(std::move(text)), code_(code) {}

    int Kind() const { return kind_; }
    const std::string& Text() const { return text_; }
    int Code() const { return code_; }
    const char* what() const noexcept override { return text_.c_str(); }

private:
    int kind_;
    std::string text_;
    int code_;
};

// A failed operating-system call: the system error code and a fixed message.
class WinException : public Exception {
public:
    WinException(std::string text, int systemErrorCode)
        : Exception(0, std::move(text), systemErrorCode) {}
};

// A file that could not be opened (or written): the name as it was passed in.
class FileException : public Exception {
public:
    explicit FileException(std::string fileName) : Exception(1, std::move(fileName), 2) {}
};

// A document operation refused because the document holds unsaved changes.
class ModelException : public Exception {
public:
    ModelException() : Exception(3, std::string(), 1) {}
};

// A file that is no project the builder can read (empty, binary, another text encoding, no
// project section): the text is a whole sentence that names the file and says what was found.
class ProjectFormatException : public Exception {
public:
    explicit ProjectFormatException(std::string sentence) : Exception(4, std::move(sentence), 2) {}
};
