#pragma once
// Where a project's sections write their lines: the project file when it is saved, or a text in
// memory when an edit keeps the state of a section it is about to change. Both end every line
// with CR LF, so the two hold the same bytes.
#include <string>

class File;

class LineSink {
public:
    virtual ~LineSink() = default;
    // `text` followed by CR LF; false when it could not be written.
    virtual bool WriteLine(const std::string& text) = 0;
};

// The lines written to an open file.
class FileLineSink : public LineSink {
public:
    explicit FileLineSink(File& file) : file_(file) {}
    bool WriteLine(const std::string& text) override;

private:
    File& file_;
};

// The lines gathered in memory.
class TextLineSink : public LineSink {
public:
    bool WriteLine(const std::string& text) override {
        text_ += text;
        text_ += "\r\n";
        return true;
    }
    const std::string& Text() const { return text_; }
    std::string TakeText() { return std::move(text_); }

private:
    std::string text_;
};
