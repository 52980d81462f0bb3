// Throughput of kit::Crc32, kit::Md5 and kit::Sha1 as the file check worker feeds them (1 MiB blocks), next to
// zlib's crc32 measured in the same run, and the portable code on the same machine.
// MB/s counts 10^6 bytes per second of user CPU time, as openssl speed does, so that other processes on a
// shared machine do not lower the figures; the wall-clock figure is printed beside it.
#include "kit/core/CpuFeatures.h"
#include "kit/core/Crc32.h"
#include "kit/core/Md5.h"
#include "kit/core/Sha1.h"

#include <zlib.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

const size_t BufferSize = size_t(256) << 20;
const size_t BlockSize = size_t(1) << 20;
const int Runs = 3;
// Wine reports process times in 10 ms ticks, so each run lasts long enough for that not to matter
const double MinimumSeconds = 0.5;

double UserSeconds()
{
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) {
        return 0;
    }
    return double((uint64_t(user.dwHighDateTime) << 32) | user.dwLowDateTime) / 1e7;
#else
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec) + double(usage.ru_utime.tv_usec) / 1e6;
#endif
}

double WallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Speed {
    double Cpu = 0;  // MB per user CPU second
    double Wall = 0; // MB per wall-clock second
};

// One run feeds the buffer again and again to one object until MinimumSeconds of CPU time have passed;
// start() begins a run, feed(block) hashes one block. The best run of Runs counts.
Speed Measure(const std::vector<uint8_t>& buffer, const std::function<void()>& start,
              const std::function<void(const uint8_t*)>& feed)
{
    Speed best;
    for (int run = 0; run < Runs; ++run) {
        start();
        const double cpu0 = UserSeconds(), wall0 = WallSeconds();
        double bytes = 0, cpu = 0;
        do {
            for (size_t at = 0; at < buffer.size(); at += BlockSize) {
                feed(buffer.data() + at);
            }
            bytes += double(buffer.size());
            cpu = UserSeconds() - cpu0;
        } while (cpu < MinimumSeconds);
        const double wall = WallSeconds() - wall0;
        best.Cpu = std::max(best.Cpu, bytes / 1e6 / cpu);
        best.Wall = std::max(best.Wall, bytes / 1e6 / wall);
    }
    return best;
}

template <class HashType>
Speed MeasureKit(const std::vector<uint8_t>& buffer)
{
    HashType hash;
    return Measure(
        buffer, [&] { hash.Reset(); }, [&](const uint8_t* block) { hash.Update(block, uint32_t(BlockSize)); });
}

Speed MeasureZlib(const std::vector<uint8_t>& buffer)
{
    uLong crc = 0;
    const Speed speed = Measure(
        buffer, [&] { crc = crc32(0, Z_NULL, 0); },
        [&](const uint8_t* block) { crc = crc32(crc, block, uInt(BlockSize)); });
    // keeps the compiler from dropping the work
    if (crc == 0x12345678) {
        std::printf(" ");
    }
    return speed;
}

void Row(const char* hash, const char* code, const char* path, const Speed& speed)
{
    std::printf("%-6s %-11s %-9s %9.0f %9.0f\n", hash, code, path, speed.Cpu, speed.Wall);
    std::fflush(stdout);
}

template <class HashType>
std::wstring ValueOf(const std::vector<uint8_t>& buffer)
{
    HashType hash;
    for (size_t at = 0; at < buffer.size(); at += BlockSize) {
        hash.Update(buffer.data() + at, uint32_t(BlockSize));
    }
    return hash.Final();
}

// the results do not depend on the path: checks the buffer's values on both, and the CRC against zlib
bool ValuesAgree(const std::vector<uint8_t>& buffer)
{
    const std::wstring crc = ValueOf<kit::Crc32>(buffer);
    const std::wstring sha1 = ValueOf<kit::Sha1>(buffer);
    kit::CpuFeatures::SetPortableOnly(true);
    const bool same = crc == ValueOf<kit::Crc32>(buffer) && sha1 == ValueOf<kit::Sha1>(buffer);
    kit::CpuFeatures::SetPortableOnly(false);

    char zlib[9];
    std::snprintf(zlib, sizeof zlib, "%08lX", crc32(0, buffer.data(), uInt(buffer.size())));
    std::printf("values: CRC32 %ls (zlib %s), MD5 %ls, SHA-1 %ls\n", crc.c_str(), zlib,
                ValueOf<kit::Md5>(buffer).c_str(), sha1.c_str());
    return same && crc == std::wstring(zlib, zlib + 8);
}

} // namespace

int main()
{
    std::vector<uint8_t> buffer(BufferSize);
    std::mt19937 random(1);
    for (auto& b : buffer) {
        b = uint8_t(random());
    }

    const char* crcPath = kit::CpuFeatures::HasPclmul() ? "pclmul" : "portable";
    const char* shaPath = kit::CpuFeatures::HasShaNi() ? "sha-ni" : "portable";
    std::printf("hash_bench: a %u MiB buffer fed in %u MiB blocks, best of %d runs of at least %.1f s\n",
                unsigned(BufferSize >> 20), unsigned(BlockSize >> 20), Runs, MinimumSeconds);
    std::printf("paths: CRC32 %s, MD5 portable, SHA-1 %s\n", crcPath, shaPath);
    std::printf("%-6s %-11s %-9s %9s %9s\n", "hash", "code", "path", "MB/s cpu", "MB/s wall");

    Row("CRC32", "kit::Crc32", crcPath, MeasureKit<kit::Crc32>(buffer));
    Row("CRC32", "zlib", "crc32", MeasureZlib(buffer));
    Row("MD5", "kit::Md5", "portable", MeasureKit<kit::Md5>(buffer));
    Row("SHA-1", "kit::Sha1", shaPath, MeasureKit<kit::Sha1>(buffer));
    kit::CpuFeatures::SetPortableOnly(true);
    if (std::string(crcPath) != "portable") {
        Row("CRC32", "kit::Crc32", "portable", MeasureKit<kit::Crc32>(buffer));
    }
    if (std::string(shaPath) != "portable") {
        Row("SHA-1", "kit::Sha1", "portable", MeasureKit<kit::Sha1>(buffer));
    }
    kit::CpuFeatures::SetPortableOnly(false);

    if (!ValuesAgree(buffer)) {
        std::printf("VALUES DIFFER\n");
        return 1;
    }
    return 0;
}
