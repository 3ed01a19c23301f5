// Test doubles of the package reader's two interfaces: a package file in
// memory, and an extraction target that records what would be written.
#pragma once

#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "package/package_extraction.h"
#include "package/package_writer.h"

class MemoryInput : public PackageInput {
public:
    explicit MemoryInput(const Bytes& data) : m_data(data) {}

    bool Seek(uint32_t offset) override
    {
        if (offset > m_data.size())
            return false;
        m_position = offset;
        return true;
    }

    int32_t Read(void* buffer, uint32_t size) override
    {
        if (m_failReads)
            return -1;
        const size_t n = std::min<size_t>(size, m_data.size() - m_position);
        if (n)
            memcpy(buffer, m_data.data() + m_position, n);
        m_position += n;
        bytesRead += n;
        return static_cast<int32_t>(n);
    }

    uint32_t Size() const { return static_cast<uint32_t>(m_data.size()); }
    void FailReads() { m_failReads = true; }

    uint64_t bytesRead = 0;

private:
    const Bytes& m_data;
    size_t m_position = 0;
    bool m_failReads = false;
};

struct RecordedFile {
    std::string path;
    Bytes data;
    bool closed = false;
    std::vector<uint32_t> writes;  // size of each write
    std::vector<int> progress;     // positions sent while this file was written
};

class RecordingTarget : public ExtractTarget {
public:
    CreateResult Create(const char* path) override
    {
        ++creates;
        if (inUse.count(path))
            return CreateResult::kInUse;
        if (refuseCreate.count(path))
            return CreateResult::kFailed;
        files.push_back(RecordedFile{path, {}, false, {}, {}});
        return CreateResult::kCreated;
    }

    bool Write(const void* data, uint32_t size) override
    {
        ++writes;
        RecordedFile& file = files.back();
        if (failWritesOf == file.path && !file.data.empty())
            return false;
        const unsigned char* p = static_cast<const unsigned char*>(data);
        file.data.insert(file.data.end(), p, p + size);
        file.writes.push_back(size);
        return true;
    }

    void Close() override { files.back().closed = true; }
    void ShowStatus(const char* path) override { statuses.push_back(path); }
    void SetProgress(int position) override
    {
        if (!files.empty())
            files.back().progress.push_back(position);
    }

    uint64_t FreeBytes(const char* folder) override
    {
        auto found = freeBytes.find(folder);
        return found == freeBytes.end() ? UINT64_MAX : found->second;
    }

    // The file beside one in use, recorded under "<path>.new".
    bool CreateReplacement(const char* path) override
    {
        if (refuseReplacement)
            return false;
        files.push_back(RecordedFile{std::string(path) + ".new", {}, false, {}, {}});
        return true;
    }

    bool ScheduleReplacement(const char* path) override
    {
        if (refuseSchedule)
            return false;
        scheduled.push_back(path);
        return true;
    }

    bool Exists(const char* path) override { return existing.count(path) != 0; }
    void EntryDone(const char* path, InstallOutcome result) override { results.push_back({path, result}); }
    void EntryKept(const char* path) override { kept.push_back(path); }
    void BeforeWriting() override
    {
        ++beforeWriting;
        createsBeforeWriting = creates;
    }

    const RecordedFile* Find(const std::string& path) const
    {
        for (const RecordedFile& file : files) {
            if (file.path == path)
                return &file;
        }
        return nullptr;
    }

    std::set<std::string> inUse;         // existing files another process holds open
    std::set<std::string> refuseCreate;  // paths whose creation fails (a folder, read-only)
    std::map<std::string, uint64_t> freeBytes;  // by folder; unknown when absent
    std::string failWritesOf;            // this file's writes fail after its first buffer
    std::set<std::string> existing;      // files that exist before the extraction
    bool refuseReplacement = false;      // the file beside one in use cannot be made
    bool refuseSchedule = false;         // the replacement cannot be scheduled
    std::vector<std::string> scheduled;  // paths replaced at the next restart
    std::vector<std::pair<std::string, InstallOutcome>> results;  // EntryDone, in order
    std::vector<std::string> kept;       // EntryKept, in order
    int beforeWriting = 0;            // calls of BeforeWriting
    int createsBeforeWriting = -1;    // Create calls made before it
    std::vector<RecordedFile> files;
    std::vector<std::string> statuses;
    int creates = 0;
    int writes = 0;
};
