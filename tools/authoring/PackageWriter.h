#pragma once
// Writes data packages in both forms the engine mounts:
// - archive: u32 block count, blocks of {u32 pool id (the block's key), u32 resident,
//   u32 size, bytes}, u32 record count, records of {u32 name id, u32 type id, u32 block key,
//   u32 offset, u32 size};
// - folder: "<folder>/<base>.hdr" (12 header bytes, u32 count, entries of {u32 name id,
//   name and its zero byte, u32 pool id, u32 resident}) beside the loose files.
// Name ids are the CRC-32 of the names as given; the engine's XML reader looks names up
// lower-cased, so data tools should pass lower-case names.
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

class PackageWriter {
public:
    struct Entry {
        std::string name;
        uint32_t nameId = 0;
        uint32_t typeId = 0;
        std::string bytes;
        uint32_t poolId = 0;
        bool resident = false;
    };

    // Adds a file. typeId (the CRC-32 of its provider's type word) is used by archives only.
    // Archive blocks are formed per pool id, in order of first use; a block is resident
    // when its first entry is.
    PackageWriter& Add(const std::string& name, uint32_t typeId, const std::string& bytes,
                       uint32_t poolId = 0, bool resident = false);
    const std::vector<Entry>& Entries() const { return m_entries; }
    // Names added more than once (the later entry wins in the engine).
    std::vector<std::string> Duplicates() const;

    std::string ArchiveBytes() const;
    std::string IndexBytes() const;

    // Writes the archive file at path (for example "data/GlobalXml.dir").
    bool WriteArchive(const std::string& path) const;
    // Writes the folder form of the package mounted as path: "data/GlobalXml.dir" gives
    // "data/GlobalXml/GlobalXml.hdr" and the loose files under "data/GlobalXml/".
    bool WriteFolder(const std::string& path) const;

    // The folder and index path that a mount name stands for.
    static std::string FolderOf(const std::string& mountName);
    static std::string IndexPathOf(const std::string& mountName);

private:
    std::vector<Entry> m_entries;
};

// The whole file at path; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// A lower-cased name, as the XML reader looks documents up (other resources are looked up by
// their name as written).
std::string LowerName(std::string name);

}  // namespace authoring
