#include "tools/authoring/PackageWriter.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/ByteWriter.h"

namespace authoring {

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace

PackageWriter& PackageWriter::Add(const std::string& name, uint32_t typeId,
                                  const std::string& bytes, uint32_t poolId, bool resident) {
    m_entries.push_back({name, Crc32Hash(name.c_str()), typeId, bytes, poolId, resident});
    return *this;
}

std::vector<std::string> PackageWriter::Duplicates() const {
    std::set<uint32_t> seen;
    std::vector<std::string> repeated;
    for (const Entry& entry : m_entries)
        if (!seen.insert(entry.nameId).second)
            repeated.push_back(entry.name);
    return repeated;
}

std::string PackageWriter::ArchiveBytes() const {
    struct Block {
        uint32_t key;
        bool resident;
        std::string bytes;
    };
    std::vector<Block> blocks;
    std::map<uint32_t, size_t> blockOfPool;
    struct Record {
        uint32_t nameId, typeId, key, offset, size;
    };
    std::vector<Record> records;
    for (const Entry& entry : m_entries) {
        auto it = blockOfPool.find(entry.poolId);
        if (it == blockOfPool.end()) {
            it = blockOfPool.emplace(entry.poolId, blocks.size()).first;
            blocks.push_back({entry.poolId, entry.resident, {}});
        }
        Block& block = blocks[it->second];
        records.push_back({entry.nameId, entry.typeId, block.key, uint32_t(block.bytes.size()),
                           uint32_t(entry.bytes.size())});
        block.bytes += entry.bytes;
    }
    ByteWriter out;
    out.U32(uint32_t(blocks.size()));
    for (const Block& block : blocks)
        out.U32(block.key).U32(block.resident ? 1 : 0).U32(uint32_t(block.bytes.size()))
            .Bytes(block.bytes);
    out.U32(uint32_t(records.size()));
    for (const Record& r : records)
        out.U32(r.nameId).U32(r.typeId).U32(r.key).U32(r.offset).U32(r.size);
    return out.Str();
}

std::string PackageWriter::IndexBytes() const {
    ByteWriter out;
    out.Zeros(12).U32(uint32_t(m_entries.size()));
    for (const Entry& entry : m_entries)
        out.U32(entry.nameId).CStr(entry.name).U32(entry.poolId).U32(entry.resident ? 1 : 0);
    return out.Str();
}

bool PackageWriter::WriteArchive(const std::string& path) const {
    return WriteFile(path, ArchiveBytes());
}

bool PackageWriter::WriteFolder(const std::string& path) const {
    const std::string folder = FolderOf(path);
    bool ok = WriteFile(IndexPathOf(path), IndexBytes());
    for (const Entry& entry : m_entries)
        ok = WriteFile(folder + "/" + entry.name, entry.bytes) && ok;
    return ok;
}

std::string PackageWriter::FolderOf(const std::string& mountName) {
    std::string folder = mountName;
    const size_t slash = folder.rfind('/');
    const size_t dot = folder.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        folder.erase(dot);
    return folder;
}

std::string PackageWriter::IndexPathOf(const std::string& mountName) {
    const std::string folder = FolderOf(mountName);
    const size_t slash = folder.rfind('/');
    const std::string base = slash == std::string::npos ? folder : folder.substr(slash + 1);
    return folder + "/" + base + ".hdr";
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return bool(in);
}

std::string LowerName(std::string name) {
    for (char& c : name)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

}  // namespace authoring
