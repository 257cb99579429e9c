// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the INI reader arbitrary catalogue files. Whatever the file holds, the reader must keep
// to its buffer contract; the file walked through a small window, down to a byte at a time, where
// lines outgrow the window and are read again from the file, must answer exactly as through a
// window that holds the whole text, every byte written included; the whole key list must be the
// one that a large enough buffer gets; and every name it lists must be a key it can look up again.
//
// An input is the section and the key, each ended by a backslash and one more byte, then the
// file's bytes; its last byte says whether the key is given, the one before it the buffer size
// (0..64, or 65 for the full 32,767), the one before that the window (0..63 for 1..64 bytes,
// 64..66 for larger ones). The seeds in corpus/inireader follow that layout.

#include "inireader.h"
#include "profilestream.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int FullBuffer = 32767;
constexpr std::size_t GuardBytes = 64;
constexpr char Fill = 'Z';

std::string profilePath;

using Reader = std::function<int(const char *section, const char *key, const char *defaultText,
                                 char *buffer, int size)>;

[[noreturn]] void fail(const char *what, int size, int result)
{
    std::fprintf(stderr, "reader broke its contract: %s (size %d, result %d)\n", what, size,
                 result);
    std::abort();
}

// Everything one reader call leaves in a buffer of `size` characters and the guard characters
// after it, which must stay untouched; result is the characters before the result's NUL.
struct Call
{
    std::vector<char> memory;
    std::string result;
};

Call call(const Reader &reader, const char *section, const char *key, const char *defaultText,
          int size)
{
    std::vector<char> memory(static_cast<std::size_t>(size) + GuardBytes, Fill);
    const int result = reader(section, key, defaultText, memory.data(), size);
    if (result < 0)
        fail("negative result", size, result);
    if (size == 0 && result != 0)
        fail("non-zero result for an empty buffer", size, result);
    if (size > 0 && result >= size)
        fail("result not below the buffer size", size, result);
    if (size > 0 && memory[static_cast<std::size_t>(result)] != '\0')
        fail("no NUL at buffer[result]", size, result);
    for (auto i = static_cast<std::size_t>(size); i < memory.size(); ++i) {
        if (memory[i] != Fill)
            fail("wrote at or past buffer[size]", size, result);
    }
    std::string text(memory.data(), static_cast<std::size_t>(result));
    return {std::move(memory), std::move(text)};
}

// The names of a key list whole: the piece after the last NUL is empty or was cut short.
std::vector<std::string> listedNames(std::string_view keyList)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (std::size_t end = keyList.find('\0'); end != std::string_view::npos;
         end = keyList.find('\0', start)) {
        names.emplace_back(keyList.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

std::size_t windowFor(int choice)
{
    constexpr std::size_t larger[] = {4096, 65536, ini::DefaultWindow};
    return choice < 64 ? static_cast<std::size_t>(choice) + 1 : larger[choice - 64];
}

void writeProfile(const std::string &bytes)
{
    FILE *file = std::fopen(profilePath.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::perror("writing the fuzz profile");
        std::abort();
    }
    std::fclose(file);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    // Every input rewrites the file: on a disk file system each rewrite waits for the disk, in
    // memory it does not.
    const char *tmp = std::getenv("TMPDIR");
    const char *dir = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(dir) + "/quennel-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        std::perror("mkstemp");
        std::abort();
    }
    close(fd);
    profilePath = pattern;
    std::atexit([] { std::remove(profilePath.c_str()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t length)
{
    FuzzedDataProvider input(data, length);
    const std::string section = input.ConsumeRandomLengthString(16);
    const bool withKey = input.ConsumeBool();
    const std::string key = input.ConsumeRandomLengthString(16);
    const int sizeChoice = input.ConsumeIntegralInRange(0, 65);
    const int size = sizeChoice == 65 ? FullBuffer : sizeChoice;
    const std::size_t window = windowFor(input.ConsumeIntegralInRange(0, 66));
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    writeProfile(bytes);

    const ini::ProfileFile file(profilePath.c_str());
    // A UTF-16 text grows by half at most as it is decoded: no line fills this window.
    const std::size_t wholeWindow = 2 * bytes.size() + 1;
    const Reader whole
            = [&file, wholeWindow](const char *s, const char *k, const char *d, char *b, int n) {
                  return file.getString(s, k, d, b, n, wholeWindow);
              };
    const Reader walked = [&file, window](const char *s, const char *k, const char *d, char *b,
                                          int n) { return file.getString(s, k, d, b, n, window); };
    const Reader byPath = [](const char *s, const char *k, const char *d, char *b, int n) {
        return ini::getPrivateProfileString(s, k, d, b, n, profilePath.c_str());
    };
    // The text through one window is the measure; the file walked through the chosen window must
    // write the very same bytes, and so must the file read by its path for the question asked.
    const auto ask = [&](const char *s, const char *k, const char *d, int n) {
        Call expected = call(whole, s, k, d, n);
        if (call(walked, s, k, d, n).memory != expected.memory)
            fail("the file walked through a window answers differently", n,
                 static_cast<int>(expected.result.size()));
        return expected.result;
    };
    const char *keyArg = withKey ? key.c_str() : nullptr;
    if (call(byPath, section.c_str(), keyArg, "", size).memory
        != call(whole, section.c_str(), keyArg, "", size).memory)
        fail("the file read by its path answers differently", size, 0);
    ask(section.c_str(), keyArg, "", size);
    ask(nullptr, nullptr, "", size);
    const std::string keyList = ask(section.c_str(), nullptr, "", FullBuffer);
    // Uncut, the buffer's key list is the whole one, walked through either window.
    const auto wholeKeyList = [&](std::size_t w) {
        const ini::KeyList list = file.keyList(section.c_str(), w);
        return std::string(list.names.get(), list.size);
    };
    const std::string wholeList = wholeKeyList(wholeWindow);
    if (wholeKeyList(window) != wholeList)
        fail("the whole key list walked through a window differs", FullBuffer, 0);
    if (static_cast<int>(keyList.size()) < FullBuffer - 2 && wholeList != keyList)
        fail("the whole key list differs from the buffer's", FullBuffer,
             static_cast<int>(keyList.size()));
    const auto names = listedNames(keyList);
    for (std::size_t i = 0; i < names.size() && i < 16; ++i) {
        // A found key returns its value whatever the default; only a missing one returns each
        // default in turn. A value cut short by the small buffer still differs from one of them.
        // A walk through a tiny window reads a byte or so at a time: the first few names suffice.
        const char *name = names[i].c_str();
        const std::string a = i < 3 ? ask(section.c_str(), name, "a", 16)
                                    : call(whole, section.c_str(), name, "a", 16).result;
        const std::string b = call(whole, section.c_str(), name, "b", 16).result;
        if (a == "a" && b == "b") {
            std::fprintf(stderr, "listed name \"%s\" does not look up\n", names[i].c_str());
            fail("a listed name does not look up", FullBuffer, 0);
        }
    }
    return 0;
}
