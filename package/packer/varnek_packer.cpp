// varnek_packer IMAGE OUTPUT MEMBER...
//
// Writes OUTPUT: the linked installer IMAGE followed by the payload package
// with the version text of common/names.h and one entry per MEMBER file, in
// argument order, each named by the file's own name and compressed with
// zlib's one-shot compression at level 6. The members must be the product
// table's, in its order: the programs find them by those names. A build
// step: any error leaves no OUTPUT behind and ends with a message and exit
// code 1.
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "common/names.h"
#include "common/product.h"
#include "package/package_writer.h"

namespace {

bool ReadFile(const char* path, Bytes* data)
{
    FILE* file = fopen(path, "rb");
    if (!file)
        return false;
    data->clear();
    unsigned char buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        data->insert(data->end(), buffer, buffer + got);
    const bool ok = !ferror(file);
    fclose(file);
    return ok;
}

bool WriteFile(const char* path, const Bytes& data)
{
    FILE* file = fopen(path, "wb");
    if (!file)
        return false;
    bool ok = fwrite(data.data(), 1, data.size(), file) == data.size();
    ok = fclose(file) == 0 && ok;
    return ok;
}

std::string FileName(const char* path)
{
    const char* slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int Fail(const char* what, const char* path)
{
    fprintf(stderr, "varnek_packer: %s: %s\n", what, path);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: varnek_packer IMAGE OUTPUT MEMBER...\n");
        return 1;
    }
    const char* imagePath = argv[1];
    const char* outputPath = argv[2];
    remove(outputPath);
    if (argc - 3 != static_cast<int>(kProductMemberCount)) {
        fprintf(stderr, "varnek_packer: %d members given, the product table has %zu\n", argc - 3,
                kProductMemberCount);
        return 1;
    }
    for (size_t i = 0; i < kProductMemberCount; ++i) {
        if (FileName(argv[3 + i]) != kProductMembers[i].name)
            return Fail("not the product table's member at this place", argv[3 + i]);
    }

    Bytes file;
    if (!ReadFile(imagePath, &file))
        return Fail("cannot read the installer image", imagePath);
    std::vector<PackageEntry> entries;
    for (int i = 3; i < argc; ++i) {
        Bytes data;
        PackageEntry entry;
        entry.name = FileName(argv[i]);
        if (!ReadFile(argv[i], &data))
            return Fail("cannot read the member", argv[i]);
        if (!CompressMember(data, &entry.stream))
            return Fail("cannot compress the member", argv[i]);
        entries.push_back(entry);
    }
    if (!AppendPackage(file, VARNEK_PACKAGE_VERSION, entries))
        return Fail("a member name is not a plain file name, or the package is too large", outputPath);
    // Written under another name first: a half-written installer must never
    // look like a finished one to the next build step.
    const std::string partial = std::string(outputPath) + ".partial";
    struct stat image;
    if (stat(imagePath, &image) != 0 || !WriteFile(partial.c_str(), file) ||
        chmod(partial.c_str(), image.st_mode & 07777) != 0 || rename(partial.c_str(), outputPath) != 0) {
        remove(partial.c_str());
        return Fail("cannot write", outputPath);
    }
    return 0;
}
