// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds the INI reader arbitrary catalogue files. Whatever the file holds, the reader must keep
// to its buffer contract, and every name it lists must be a key it can look up again.
//
// An input is the section and the key, each ended by a backslash and one more byte, then the
// file's bytes; its last byte says whether the key is given, the one before it the buffer size
// (0..64, or 65 for the full 32,767). The seeds in corpus/inireader follow that layout.

#include "inireader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int FullBuffer = 32767;
constexpr std::size_t GuardBytes = 64;
constexpr char Fill = 'Z';

std::string profilePath;

[[noreturn]] void fail(const char *what, int size, int result)
{
    std::fprintf(stderr, "reader broke its contract: %s (size %d, result %d)\n", what, size,
                 result);
    std::abort();
}

// One reader call into a buffer of `size` characters, followed by guard characters that must
// stay untouched. Returns the characters before the result's NUL.
std::string call(const ini::ProfileText *loaded, const char *section, const char *key,
                 const char *defaultText, int size)
{
    std::vector<char> memory(static_cast<std::size_t>(size) + GuardBytes, Fill);
    const int result = loaded
            ? ini::getProfileString(*loaded, section, key, defaultText, memory.data(), size)
            : ini::getPrivateProfileString(section, key, defaultText, memory.data(), size,
                                           profilePath.c_str());
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
    return {memory.data(), static_cast<std::size_t>(result)};
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
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    FILE *file = std::fopen(profilePath.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::perror("writing the fuzz profile");
        std::abort();
    }
    std::fclose(file);

    const char *keyArg = withKey ? key.c_str() : nullptr;
    const std::string fromFile = call(nullptr, section.c_str(), keyArg, "", size);

    // The file read anew and the text read once must answer alike.
    const ini::ProfileText loaded = ini::loadProfile(profilePath.c_str());
    if (call(&loaded, section.c_str(), keyArg, "", size) != fromFile)
        fail("file and loaded text answer differently", size, static_cast<int>(fromFile.size()));

    const std::string keyList = call(&loaded, section.c_str(), nullptr, "", FullBuffer);
    const auto names = listedNames(keyList);
    for (std::size_t i = 0; i < names.size() && i < 16; ++i) {
        // A found key returns its value whatever the default; only a missing one returns each
        // default in turn. A value cut short by the small buffer still differs from one of them.
        const std::string a = call(&loaded, section.c_str(), names[i].c_str(), "a", 16);
        const std::string b = call(&loaded, section.c_str(), names[i].c_str(), "b", 16);
        if (a == "a" && b == "b") {
            std::fprintf(stderr, "listed name \"%s\" does not look up\n", names[i].c_str());
            fail("a listed name does not look up", FullBuffer, 0);
        }
    }
    return 0;
}
