#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The file the file output writes the sound into, made anew: only a regular
// file is written, never what a link at its name points to. The platform's
// own calls (POSIX descriptors, Win32 handles).
class SoundFile {
public:
    // The file at `path`, emptied; null with the reason in `error`.
    static std::unique_ptr<SoundFile> create(const std::string& path, std::string& error);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // All of `size` bytes; false, with the system's reason in `error`, when
    // they could not all be written.
    bool write(const void* bytes, std::size_t size, std::string& error);

private:
    explicit SoundFile(std::intptr_t handle);
    const std::intptr_t handle; // a descriptor, or a HANDLE
};
