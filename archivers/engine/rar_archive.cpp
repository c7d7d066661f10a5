// RAR archives (1.5 to 5, self-extracting programs included) through
// libarchive, with the volumes of a multi-volume set read in order from
// whichever volume was opened.
#include "archive.h"
#include "libarchive_reader.h"
#include "rar5_crypt_scan.h"
#include "rar_volumes.h"

namespace arc {

namespace {

// More volumes than any real set has: a bound on the search, not a rule.
constexpr size_t kMaxVolumes = 10000;

std::string lastComponent(const std::string& path) {
    size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Volume 1 and every later volume beside it; `src` stands for the one opened.
bool gatherVolumes(ByteSource& src, const RarVolumeName& given, const PartOpener& parts, ArchiveVolumes& out,
                   Status* error) {
    for (size_t i = 0; i < kMaxVolumes; ++i) {
        if (i == given.index) {
            out.inOrder.push_back(&src);
            continue;
        }
        const std::string name = rarVolumeFileName(given, i);
        std::unique_ptr<ByteSource> part = name.empty() ? nullptr : parts(name);
        if (!part || !rarIsVolume(*part)) {
            if (i < given.index) {
                // The set has to be read from its first volume on.
                out.missing.push_back(name);
                *error = Status::NotFindArcFile;
                return false;
            }
            // The end of the set, unless the last volume found promises more;
            // libarchive then runs out of data there.
            break;
        }
        out.inOrder.push_back(part.get());
        out.owned.push_back(std::move(part));
    }
    return true;
}

}  // namespace

std::unique_ptr<Archive> openRar(ByteSource& src, Status* error, const PartOpener& parts,
                                 const std::string& archiveName) {
    *error = Status::Ok;
    ArchiveVolumes volumes;
    std::optional<RarVolumeName> name = parseRarVolumeName(lastComponent(archiveName));
    if (parts && name && rarIsVolume(src)) {
        if (!gatherVolumes(src, *name, parts, volumes, error)) return nullptr;
        // A volume whose successor is absent may be the last one or not:
        // only the data tells; name the next file for the report.
        const std::string next = rarVolumeFileName(*name, volumes.inOrder.size());
        if (!next.empty()) volumes.possiblyMissing = next;
    } else {
        volumes.inOrder.push_back(&src);
        volumes.encryptionRecords = rar5EncryptedFileHeaders(src);
    }
    return openWithLibarchive(LibarchiveFormat::Rar, std::move(volumes), error);
}

bool looksLikeRar(ByteSource& src) { return libarchiveReads(LibarchiveFormat::Rar, src); }

}  // namespace arc
