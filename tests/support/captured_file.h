// What a piece of code printed to a FILE*, read back as text.
#pragma once

#include <cstdio>
#include <string>

class CapturedFile {
  public:
    CapturedFile() : file_(std::tmpfile()) {}
    ~CapturedFile() {
        if (file_ != nullptr) std::fclose(file_);
    }
    CapturedFile(const CapturedFile&) = delete;
    CapturedFile& operator=(const CapturedFile&) = delete;
    std::FILE* file() { return file_; }
    std::string Text() {
        std::string text;
        if (file_ == nullptr) return text;
        std::fflush(file_);
        std::rewind(file_);
        for (int c = std::fgetc(file_); c != EOF; c = std::fgetc(file_))
            text.push_back(static_cast<char>(c));
        return text;
    }

  private:
    std::FILE* file_;
};
