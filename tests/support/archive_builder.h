// Real zip and 7z archives for the tests, written with libarchive's writer, and the damage
// done to them (cut short, corrupted, sizes that lie); RAR 5 archives of links, made by hand.
#pragma once

#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace orvex::test {

struct Item {
  enum Kind { File, Folder, Symlink, Device, Pipe };
  Item() = default;
  Item(std::string p, std::string d = {}, Kind k = File, std::string link = {})
      : path(std::move(p)), data(std::move(d)), kind(k), linkTarget(std::move(link)) {}

  std::string path;
  std::string data;
  Kind kind = File;
  std::string linkTarget;
};

// format: "zip" or "7zip"; options as libarchive takes them ("zip:encryption=zipcrypt").
inline void buildArchive(const std::string& hostPath, const std::string& format,
                         const std::vector<Item>& items, const std::string& options = {},
                         const std::string& passphrase = {}) {
  archive* a = archive_write_new();
  auto check = [a](int r) {
    if (r != ARCHIVE_OK) throw std::runtime_error(archive_error_string(a));
  };
  check(archive_write_set_format_by_name(a, format.c_str()));
  if (!options.empty()) check(archive_write_set_options(a, options.c_str()));
  if (!passphrase.empty()) check(archive_write_set_passphrase(a, passphrase.c_str()));
  check(archive_write_open_filename(a, hostPath.c_str()));
  for (const Item& item : items) {
    archive_entry* e = archive_entry_new();
    archive_entry_set_pathname(e, item.path.c_str());
    archive_entry_set_perm(e, 0644);
    if (item.kind == Item::Folder) {
      archive_entry_set_filetype(e, AE_IFDIR);
    } else if (item.kind == Item::Symlink) {
      archive_entry_set_filetype(e, AE_IFLNK);
      archive_entry_set_symlink(e, item.linkTarget.c_str());
    } else if (item.kind == Item::Device || item.kind == Item::Pipe) {
      archive_entry_set_filetype(e, item.kind == Item::Device ? AE_IFCHR : AE_IFIFO);
    } else {
      archive_entry_set_filetype(e, AE_IFREG);
      archive_entry_set_size(e, la_int64_t(item.data.size()));
    }
    check(archive_write_header(a, e));
    if (item.kind == Item::File && !item.data.empty())
      archive_write_data(a, item.data.data(), item.data.size());
    archive_entry_free(e);
  }
  check(archive_write_close(a));
  archive_write_free(a);
}

// A RAR 5 archive (which libarchive cannot write) of stored files and of links: an item's
// linkTarget makes it a hard link, or with kind Symlink a symbolic link.
inline void buildRar5(const std::string& hostPath, const std::vector<Item>& items) {
  auto number = [](uint64_t v) {  // seven bits a byte, the lowest first
    std::string bytes;
    do {
      bytes += char((v & 0x7F) | (v > 0x7F ? 0x80 : 0));
      v >>= 7;
    } while (v);
    return bytes;
  };
  auto word = [](uint32_t v) {
    std::string bytes;
    for (int k = 0; k < 4; ++k) bytes += char((v >> (8 * k)) & 0xFF);
    return bytes;
  };
  auto crc32 = [](const std::string& data) {
    uint32_t c = 0xFFFFFFFF;
    for (unsigned char b : data) {
      c ^= b;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
  };
  auto header = [&](const std::string& body) {
    const std::string sized = number(body.size()) + body;
    return word(crc32(sized)) + sized;
  };
  std::string rar =
      std::string("Rar!\x1A\x07\x01\x00", 8) + header(number(1) + number(0) + number(0));
  for (const Item& item : items) {
    std::string extra;
    if (!item.linkTarget.empty()) {  // a redirection: 1 a Unix symbolic link, 4 a hard link
      const std::string record = number(5) + number(item.kind == Item::Symlink ? 1 : 4) +
                                 number(0) + number(item.linkTarget.size()) + item.linkTarget;
      extra = number(record.size()) + record;
    }
    // Header flags: an extra area, a data area (which every file header has, even empty).
    std::string body = number(2) + number(extra.empty() ? 2 : 3);
    if (!extra.empty()) body += number(extra.size());
    body += number(item.data.size());
    // With a checksum; stored, from a Unix host, mode 0644.
    body += number(4) + number(item.data.size()) + number(0100644) + word(crc32(item.data)) +
            number(0) + number(1) + number(item.path.size()) + item.path + extra;
    rar += header(body) + item.data;
  }
  rar += header(number(5) + number(0) + number(0));
  std::ofstream(hostPath, std::ios::binary | std::ios::trunc) << rar;
}

inline std::string readBytes(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

inline void writeBytes(const std::string& hostPath, const std::string& bytes) {
  std::ofstream(hostPath, std::ios::binary | std::ios::trunc) << bytes;
}

// Bytes that no compressor can shrink.
inline std::string noise(size_t size, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::string data(size, '\0');
  for (char& c : data) c = char(random() & 0xFF);
  return data;
}

// Sets the unpacked size in every local and central header of a zip written by buildArchive.
inline void declareZipSizes(const std::string& hostPath, uint32_t size) {
  std::string zip = readBytes(hostPath);
  auto put = [&zip, size](size_t at) {
    for (int k = 0; k < 4; ++k) zip[at + size_t(k)] = char((size >> (8 * k)) & 0xFF);
  };
  for (size_t at = zip.find("PK\3\4"); at != std::string::npos; at = zip.find("PK\3\4", at + 4))
    put(at + 22);
  for (size_t at = zip.find("PK\1\2"); at != std::string::npos; at = zip.find("PK\1\2", at + 4))
    put(at + 24);
  writeBytes(hostPath, zip);
}

}  // namespace orvex::test
