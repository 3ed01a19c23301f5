// Writes a few sound packages into a folder (made if missing): the fuzzer's
// starting corpus.
#include <errno.h>
#include <stdio.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "package/package_writer.h"

namespace {

bool Write(const std::string& path, const Bytes& data)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), file) == data.size();
    return fclose(file) == 0 && ok;
}

PackageEntry Entry(const char* name, const std::string& text)
{
    PackageEntry entry;
    entry.name = name;
    CompressMember(Bytes(text.begin(), text.end()), &entry.stream);
    return entry;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 1;
    }
    const std::string folder = argv[1];
    if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        return 1;
    std::string repeated;
    for (int i = 0; i < 400; ++i)
        repeated += "label " + std::to_string(i * 7919 % 1000) + "\n";

    std::vector<std::vector<PackageEntry>> packages = {
        {Entry("a.txt", "x")},
        {Entry("Brevlet.exe", repeated), Entry("VarnekSetting.ini", "[Print Settings]\r\nDensity=3"),
         Entry("UNIRES.DLL", "")},
        {Entry("VarnekUI.ini", "[OEMFiles]\r\n"), PackageEntry{"empty.bin", Bytes()}},
    };
    for (size_t i = 0; i < packages.size(); ++i) {
        Bytes file(16, 0x4D);
        if (!AppendPackage(file, "1.3.0.30", packages[i]) ||
            !Write(folder + "/seed" + std::to_string(i), file))
            return 1;
    }
    return 0;
}
