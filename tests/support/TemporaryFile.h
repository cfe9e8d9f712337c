#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

// A file with the given text in the system's temporary folder, removed with
// the object; the name is new to this process and run.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& text)
    {
        static std::atomic<int> made { 0 };
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        path = (std::filesystem::temp_directory_path()
            / ("lumaroll-test-" + std::to_string(now) + "-" + std::to_string(made++)))
                   .string();
        std::ofstream(path, std::ios::binary) << text;
    }
    ~TemporaryFile() { std::remove(path.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    std::string path;
};
