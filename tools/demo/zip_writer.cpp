// A zip archive through libarchive's writer, entries with a fixed date so that every run
// writes the same bytes.
#include "zip_writer.h"

#include <archive.h>
#include <archive_entry.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

namespace orvex::demo {
namespace {

constexpr time_t kEntryTime = 962409600;  // 1 July 2000, the simulators' own era

using ArchivePtr = std::unique_ptr<archive, decltype(&archive_write_free)>;
using EntryPtr = std::unique_ptr<archive_entry, decltype(&archive_entry_free)>;

[[noreturn]] void fail(archive* a, const std::string& what) {
  const char* reason = archive_error_string(a);
  throw std::runtime_error(what + ": " + (reason ? reason : "unknown error"));
}

}  // namespace

void writeZip(const std::string& hostPath, const std::vector<DemoFile>& files) {
  if (std::filesystem::exists(hostPath)) throw std::runtime_error(hostPath + " exists already");
  ArchivePtr a(archive_write_new(), archive_write_free);
  if (!a) throw std::runtime_error("libarchive cannot start a new archive");
  if (archive_write_set_format_zip(a.get()) != ARCHIVE_OK) fail(a.get(), "zip format");
  if (archive_write_open_filename(a.get(), hostPath.c_str()) != ARCHIVE_OK)
    fail(a.get(), "cannot create " + hostPath);
  for (const DemoFile& file : files) {
    EntryPtr entry(archive_entry_new(), archive_entry_free);
    archive_entry_set_pathname(entry.get(), file.path.c_str());
    archive_entry_set_filetype(entry.get(), AE_IFREG);
    archive_entry_set_perm(entry.get(), 0644);
    archive_entry_set_size(entry.get(), la_int64_t(file.data.size()));
    archive_entry_set_mtime(entry.get(), kEntryTime, 0);
    if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK)
      fail(a.get(), "cannot add " + file.path);
    if (archive_write_data(a.get(), file.data.data(), file.data.size()) !=
        la_ssize_t(file.data.size()))
      fail(a.get(), "cannot write " + file.path);
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) fail(a.get(), "cannot finish " + hostPath);
}

}  // namespace orvex::demo
