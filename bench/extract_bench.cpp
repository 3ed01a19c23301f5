// Benchmark of ExtractPackage's streaming core (prints figures; not a test).
//
//   extract_bench [FOLDER]   packages are written to FOLDER (default $TMPDIR
//                            or /tmp) and removed at the end
//
// 1. Throughput over a 256 MiB package of mixed compressibility: the
//    extraction core (ExtractEntries) against a plain zlib inflate loop over
//    the same streams with the same 16 KiB buffers; and the cost of the
//    integrity pass (VerifyPackage) that runs before it.
// 2. Peak memory (maximum resident set of a fresh process running the whole
//    of ExtractPackageFile) for a package with one 1 MiB entry and for one
//    with one 256 MiB entry.
// Output goes to a sink that discards it, so disk speed does not count.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include <zlib.h>

#include "package/package_extraction.h"
#include "package/package_writer.h"

namespace {

const ExtractFolders kFolders = {"C:\\Program Files\\VarnekPrinter", "C:\\ProgramData\\VarnekPrinter"};
const uint32_t kMiB = 1024 * 1024;

class FileInput : public PackageInput {
public:
    explicit FileInput(int fd) : m_fd(fd) {}
    bool Seek(uint32_t offset) override { return lseek(m_fd, offset, SEEK_SET) == static_cast<off_t>(offset); }
    int32_t Read(void* buffer, uint32_t size) override { return static_cast<int32_t>(read(m_fd, buffer, size)); }

private:
    int m_fd;
};

class NullTarget : public ExtractTarget {
public:
    CreateResult Create(const char*) override { return CreateResult::kCreated; }
    bool Write(const void*, uint32_t size) override
    {
        bytes += size;
        return true;
    }
    void Close() override {}
    void ShowStatus(const char*) override {}
    void SetProgress(int) override {}
    uint64_t FreeBytes(const char*) override { return UINT64_MAX; }
    bool CreateReplacement(const char*) override { return false; }
    bool ScheduleReplacement(const char*) override { return false; }
    bool Exists(const char*) override { return false; }
    void EntryDone(const char*, InstallOutcome) override {}
    void EntryKept(const char*) override {}
    void BeforeWriting() override {}
    uint64_t bytes = 0;
};

double Now()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// Mixed compressibility in 64 KiB blocks: random bytes, text, runs, and bytes
// from a 16-value alphabet, in turn.
void Generate(unsigned char* out, size_t size, uint64_t& state, uint64_t& offset)
{
    static const char* const kWords[] = {"label ", "printer ", "thermal ", "ribbon ", "density ", "offset ",
                                         "width ", "height "};
    for (size_t i = 0; i < size; ++i, ++offset) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        switch ((offset >> 16) % 4) {
        case 0: out[i] = static_cast<unsigned char>(state >> 32); break;
        case 1: {
            const char* word = kWords[(offset / 8 + (state >> 60)) % 8];
            out[i] = static_cast<unsigned char>(word[offset % strlen(word)]);
            break;
        }
        case 2: out[i] = static_cast<unsigned char>(offset >> 12); break;
        default: out[i] = static_cast<unsigned char>(0x40 + (state >> 60)); break;
        }
    }
}

bool WriteAll(int fd, const void* data, size_t size)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    while (size) {
        ssize_t n = write(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A package of `entries` entries of `entrySize` bytes each, streamed to disk
// (the data length of each header is patched once its stream is written).
bool WritePackage(const std::string& path, int entries, uint32_t entrySize, uint64_t* compressedBytes)
{
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const uint32_t imageSize = 4096;
    std::vector<unsigned char> in(kMiB), out(compressBound(kMiB) + 1024);
    bool ok = WriteAll(fd, std::vector<unsigned char>(imageSize, 0x90).data(), imageSize);
    const Bytes version = EncodeVersionHeader("1.3.0.30");
    ok = ok && WriteAll(fd, version.data(), version.size());
    uint64_t state = 0x9E3779B97F4A7C15ull, offset = 0;
    *compressedBytes = 0;
    for (int e = 0; ok && e < entries; ++e) {
        const std::string name = "entry" + std::to_string(e) + ".bin";
        const Bytes header = EncodeEntryHeader(name, 0);
        const off_t headerAt = lseek(fd, 0, SEEK_CUR);
        ok = WriteAll(fd, header.data(), header.size());
        z_stream z = {};
        ok = ok && deflateInit(&z, Z_DEFAULT_COMPRESSION) == Z_OK;
        uint32_t left = entrySize, streamSize = 0;
        while (ok) {
            const uint32_t chunk = left < kMiB ? left : kMiB;
            Generate(in.data(), chunk, state, offset);
            left -= chunk;
            z.next_in = in.data();
            z.avail_in = chunk;
            const int flush = left ? Z_NO_FLUSH : Z_FINISH;
            int status;
            do {
                z.next_out = out.data();
                z.avail_out = static_cast<uInt>(out.size());
                status = deflate(&z, flush);
                const size_t produced = out.size() - z.avail_out;
                ok = WriteAll(fd, out.data(), produced);
                streamSize += static_cast<uint32_t>(produced);
            } while (ok && z.avail_out == 0);
            if (flush == Z_FINISH) {
                ok = ok && status == Z_STREAM_END;
                break;
            }
        }
        deflateEnd(&z);
        unsigned char length[4];
        PutU32(length, streamSize);
        ok = ok && pwrite(fd, length, 4, headerAt + 4) == 4;
        *compressedBytes += streamSize;
    }
    const Bytes trailer = EncodeTrailer(static_cast<uint32_t>(entries), imageSize);
    ok = ok && WriteAll(fd, trailer.data(), trailer.size());
    return close(fd) == 0 && ok;
}

// The reference: zlib's usual streaming loop over each entry's stream, with
// the same 16 KiB buffers, output discarded.
bool PlainInflate(int fd, const PackageLayout& layout, uint64_t* produced)
{
    FileInput input(fd);
    unsigned char in[kStreamBufferSize], out[kStreamBufferSize];
    uint32_t position = layout.firstEntry;
    *produced = 0;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        if (!ReadEntryHeader(input, layout, position, &header))
            return false;
        z_stream z = {};
        if (inflateInit(&z) != Z_OK)
            return false;
        uint32_t left = header.dataLength;
        int status = Z_OK;
        while (left && status != Z_STREAM_END) {
            const ssize_t got = read(fd, in, left < sizeof in ? left : sizeof in);
            if (got <= 0)
                break;
            left -= static_cast<uint32_t>(got);
            z.next_in = in;
            z.avail_in = static_cast<uInt>(got);
            do {
                z.next_out = out;
                z.avail_out = sizeof out;
                status = inflate(&z, Z_NO_FLUSH);
                *produced += sizeof out - z.avail_out;
            } while (z.avail_out == 0 && status == Z_OK);
        }
        inflateEnd(&z);
        if (status != Z_STREAM_END)
            return false;
        position = header.dataOffset + header.dataLength;
    }
    return true;
}

uint32_t FileSize(int fd)
{
    return static_cast<uint32_t>(lseek(fd, 0, SEEK_END));
}

// Best of three runs of each, the file in the page cache after the first.
void Throughput(const std::string& path)
{
    uint64_t compressed = 0;
    const uint32_t entrySize = 4 * kMiB;
    const int entries = 64;
    if (!WritePackage(path, entries, entrySize, &compressed)) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        exit(1);
    }
    const int fd = open(path.c_str(), O_RDONLY);
    FileInput input(fd);
    PackageLayout layout;
    if (fd < 0 || !ReadPackageLayout(input, FileSize(fd), &layout)) {
        fprintf(stderr, "cannot read %s back\n", path.c_str());
        exit(1);
    }
    double plain = 1e9, core = 1e9, verify = 1e9;
    for (int run = 0; run < 3; ++run) {
        uint64_t produced = 0;
        double t = Now();
        if (!PlainInflate(fd, layout, &produced) || produced != uint64_t(entries) * entrySize)
            exit(1);
        plain = std::min(plain, Now() - t);

        t = Now();
        InflatedSize inflated;
        if (VerifyPackage(input, layout, kFolders, &inflated) != InstallOutcome::kInstalled)
            exit(1);
        verify = std::min(verify, Now() - t);

        NullTarget target;
        t = Now();
        if (ExtractEntries(input, layout, kFolders, target) != InstallOutcome::kInstalled || target.bytes != produced)
            exit(1);
        core = std::min(core, Now() - t);
    }
    close(fd);
    const double mib = double(entries) * entrySize / kMiB;
    printf("Throughput: %d entries x %u MiB = %.0f MiB uncompressed, %.1f MiB compressed (%.1f %%)\n", entries,
           entrySize / kMiB, mib, compressed / double(kMiB), 100.0 * compressed / (double(entries) * entrySize));
    printf("  plain zlib inflate loop : %7.3f s  %7.1f MiB/s\n", plain, mib / plain);
    printf("  extraction core         : %7.3f s  %7.1f MiB/s  ratio %.3f (goal <= 1.15)\n", core, mib / core,
           core / plain);
    printf("  integrity pass          : %7.3f s  %7.1f MiB/s  = %.0f %% of the extraction core\n", verify,
           mib / verify, 100.0 * verify / core);
    printf("  whole ExtractPackage    : %7.3f s  (integrity pass + extraction)\n", verify + core);
}

// Maximum resident set, in KiB, of a fresh process extracting the package.
long PeakOf(const char* self, const std::string& path)
{
    pid_t pid = fork();
    if (pid == 0) {
        execl(self, self, "--extract", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage = {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "the extraction of %s failed\n", path.c_str());
        exit(1);
    }
    return usage.ru_maxrss;
}

int ExtractOnly(const char* path)
{
    const int fd = open(path, O_RDONLY);
    if (fd < 0)
        return 1;
    FileInput input(fd);
    NullTarget target;
    const InstallOutcome result = ExtractPackageFile(input, FileSize(fd), kFolders, NativeMachine::kX64, target);
    close(fd);
    return result == InstallOutcome::kInstalled ? 0 : 1;
}

void PeakMemory(const char* self, const std::string& folder)
{
    uint64_t compressed = 0;
    const std::string small = folder + "/peak-1mib.pkg", large = folder + "/peak-256mib.pkg";
    if (!WritePackage(small, 1, kMiB, &compressed) || !WritePackage(large, 1, 256 * kMiB, &compressed)) {
        fprintf(stderr, "cannot write the packages for the memory figures\n");
        exit(1);
    }
    const long smallPeak = PeakOf(self, small), largePeak = PeakOf(self, large);
    printf("Peak memory (maximum resident set of the extracting process):\n");
    printf("  one 1 MiB entry   : %6ld KiB\n", smallPeak);
    printf("  one 256 MiB entry : %6ld KiB\n", largePeak);
    printf("  difference        : %6ld KiB (goal: within 1024 KiB)\n", largePeak - smallPeak);
    remove(small.c_str());
    remove(large.c_str());
}

void PrintMachine()
{
    std::string model = "unknown";
    if (FILE* cpu = fopen("/proc/cpuinfo", "r")) {
        char line[512];
        while (fgets(line, sizeof line, cpu)) {
            if (strncmp(line, "model name", 10) == 0) {
                const char* colon = strchr(line, ':');
                model = colon ? colon + 2 : line;
                model.erase(model.find_last_not_of("\n") + 1);
                break;
            }
        }
        fclose(cpu);
    }
    printf("Machine: %ld CPUs online, %s; zlib %s\n", sysconf(_SC_NPROCESSORS_ONLN), model.c_str(), zlibVersion());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && strcmp(argv[1], "--extract") == 0)
        return ExtractOnly(argv[2]);
    const char* tmp = getenv("TMPDIR");
    std::string folder = argc > 1 ? argv[1] : (tmp ? tmp : "/tmp");
    folder += "/extract-bench-XXXXXX";
    if (!mkdtemp(&folder[0])) {
        perror("mkdtemp");
        return 1;
    }
    PrintMachine();
    const std::string throughput = folder + "/throughput.pkg";
    Throughput(throughput);
    remove(throughput.c_str());
    PeakMemory("/proc/self/exe", folder);
    rmdir(folder.c_str());
    return 0;
}
