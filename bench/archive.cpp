// Loading every entry of an archive through TVrFileManager::Load, side by side in one run with
//  - libdeflate's zlib decompressor given each entry's plain size (the fastest inflater in Debian),
//  - zlib's own inflate (uncompress) given the plain size.
// Each side reads the stored bytes from the archive file (in the page cache after the first round)
// and gets a fresh result buffer per entry. The archive holds level-1-compressed image-like
// pictures and some stored media, about 200 MB (about 8 MB with --quick).
// Also reported: the peak working memory of one Load beyond its result and the cache's copy, which
// must stay within the plain size plus 1 MiB.

#include <fcntl.h>
#include <libdeflate.h>
#include <malloc.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "core/error.h"
#include "resources/big_file_stream.h"
#include "resources/file_collection.h"
#include "resources/file_manager.h"

namespace {

constexpr int64_t kMiB = 1024 * 1024;

// A 32-bit picture with gradients, a few flat shapes and low-bit noise: it compresses at level 1
// roughly as scanned artwork does.
std::string Picture(int width, int height, uint32_t seed) {
  std::string pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, '\0');
  uint32_t noise = seed * 2654435761u + 1;
  const int cx = static_cast<int>(seed * 37 % static_cast<uint32_t>(width));
  const int cy = static_cast<int>(seed * 91 % static_cast<uint32_t>(height));
  size_t i = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      noise = noise * 1664525u + 1013904223u;
      const int dx = x - cx, dy = y - cy;
      const bool inside = dx * dx + dy * dy < (height / 4) * (height / 4);
      // Sparse low-bit noise, as in scanned or filtered artwork.
      const uint32_t jitter = (noise >> 29) == 0 ? (noise >> 26) & 3 : 0;
      pixels[i++] = static_cast<char>(inside ? 200 : (x * 255 / width) + jitter);
      pixels[i++] = static_cast<char>(inside ? 40 : (y * 255 / height) + jitter);
      pixels[i++] = static_cast<char>(((x + y + static_cast<int>(seed)) & 255) / 2 + jitter);
      pixels[i++] = static_cast<char>(255);
    }
  }
  return pixels;
}

std::string Media(size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  uint32_t state = seed;
  for (char& c : bytes) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  return bytes;
}

struct EntryInfo {
  std::string name;
  int64_t offset;
  int64_t size;
  int64_t plain_size;
  bool stored;
};

int64_t StatusValue(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(status, line)) {
    if (line.rfind(prefix, 0) == 0) return std::stoll(line.substr(prefix.size())) * 1024;
  }
  return 0;
}

void ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = orva::bench::QuickRun(argc, argv);
  // Large buffers come straight from the system, so that resident memory shows what a load touches.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024);

  const std::string folder = std::filesystem::temp_directory_path().string() + "/orva-bench-archive-" +
                             std::to_string(getpid()) + "/";
  std::filesystem::create_directories(folder + "title");
  const std::string path = folder + "game.dat";
  const int64_t target_bytes = quick ? 12 * kMiB : 200 * kMiB;
  const int media_count = quick ? 1 : 4;

  {
    orva::TVrFileCollection table;
    table.Open("");
    int64_t estimated = 0;
    for (uint32_t k = 0; estimated < target_bytes - media_count * 6 * kMiB; ++k) {
      const int width = 640 + static_cast<int>(k % 4) * 128;
      const int height = 480 + static_cast<int>(k % 3) * 96;
      const std::string pixels = Picture(width, height, k + 1);
      orva::TVrFile* entry = table.AddMemoryEntry("cg\\picture" + std::to_string(k) + ".bmp");
      entry->memory->WriteBuffer(pixels.data(), static_cast<int64_t>(pixels.size()));
      estimated += static_cast<int64_t>(pixels.size()) * 2 / 5;
    }
    for (int k = 0; k < media_count; ++k) {
      const std::string bytes = Media(static_cast<size_t>(5 * kMiB + k * 333333), static_cast<uint32_t>(k + 7));
      table.AddMemoryEntry("bgm\\track" + std::to_string(k) + ".ogg")
          ->memory->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    }
    orva::TQnBigFileStream out(path, orva::BigFileMode::kCreate);
    table.WriteArchive(out);
  }

  orva::FileManagerSetup setup;
  setup.cd_roots = std::vector<std::string>{};
  setup.temporary_parent = folder;
  orva::TVrFileManager manager(setup);
  manager.SetBaseFolder(folder + "title");
  manager.AddArchive(path);
  const orva::TVrFileCollection& table = *manager.Source(0);

  std::vector<EntryInfo> entries;
  int64_t archive_bytes = 0;
  int64_t plain_bytes = 0;
  for (int i = 0; i + 1 < table.Count(); ++i) {
    const orva::TVrFile& e = *table.File(i);
    orva::TMemoryStream out;
    manager.Load(out, e.Name());
    entries.push_back({e.Name(), e.offset, e.size, out.Size(), e.stored});
    archive_bytes += e.size;
    plain_bytes += out.Size();
  }
  std::printf("archive: %zu entries, %.1f MB stored, %.1f MB plain\n", entries.size(), archive_bytes / 1e6,
              plain_bytes / 1e6);

  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  volatile uint8_t sink = 0;

  auto load_all = [&] {
    manager.ClearCache();
    for (const EntryInfo& e : entries) {
      orva::TMemoryStream out;
      manager.Load(out, e.name);
      sink = sink + out.Bytes()[0];
    }
  };
  auto read_stored = [&](const EntryInfo& e) {
    auto* stored = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(e.size)));
    if (::pread(fd, stored, static_cast<size_t>(e.size), e.offset) != e.size) std::abort();
    return stored;
  };
  auto libdeflate_all = [&] {
    for (const EntryInfo& e : entries) {
      uint8_t* stored = read_stored(e);
      if (e.stored) {
        sink = sink + stored[0];
        std::free(stored);
        continue;
      }
      auto* plain = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(e.plain_size)));
      if (libdeflate_zlib_decompress(decompressor, stored, static_cast<size_t>(e.size), plain,
                                     static_cast<size_t>(e.plain_size), nullptr) != LIBDEFLATE_SUCCESS) {
        std::abort();
      }
      sink = sink + plain[0];
      std::free(plain);
      std::free(stored);
    }
  };
  auto zlib_all = [&] {
    for (const EntryInfo& e : entries) {
      uint8_t* stored = read_stored(e);
      if (e.stored) {
        sink = sink + stored[0];
        std::free(stored);
        continue;
      }
      auto* plain = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(e.plain_size)));
      uLongf plain_size = static_cast<uLongf>(e.plain_size);
      if (uncompress(plain, &plain_size, stored, static_cast<uLong>(e.size)) != Z_OK) std::abort();
      sink = sink + plain[0];
      std::free(plain);
      std::free(stored);
    }
  };

  load_all();
  libdeflate_all();
  zlib_all();
  const int repetitions = quick ? 5 : 7;
  std::vector<double> ours, deflate_peer, zlib_peer;
  for (int r = 0; r < repetitions; ++r) {
    ours.push_back(orva::bench::Seconds(load_all));
    deflate_peer.push_back(orva::bench::Seconds(libdeflate_all));
    zlib_peer.push_back(orva::bench::Seconds(zlib_all));
  }
  const double ours_s = orva::bench::Median(ours);
  const double deflate_s = orva::bench::Median(deflate_peer);
  const double zlib_s = orva::bench::Median(zlib_peer);
  std::printf("Load: %.1f ms (%.0f MB/s plain)   libdeflate: %.1f ms   zlib: %.1f ms\n", ours_s * 1e3,
              plain_bytes / 1e6 / ours_s, deflate_s * 1e3, zlib_s * 1e3);

  // Working memory: the peak resident growth during one Load, less its result (which the cache shares).
  manager.ClearCache();
  double worst_ratio = -1e9;
  int64_t worst_working = 0;
  int64_t worst_plain = 0;
  for (const EntryInfo& e : entries) {
    orva::TMemoryStream out;
    ResetPeak();
    const int64_t before = StatusValue("VmRSS");
    manager.Load(out, e.name);
    const int64_t peak = StatusValue("VmHWM");
    // The result and the cache's copy are one shared block.
    const int64_t working = peak - before - e.plain_size;
    const double ratio = static_cast<double>(working) / static_cast<double>(e.plain_size + kMiB);
    if (ratio >= worst_ratio) {
      worst_ratio = ratio;
      worst_working = working;
      worst_plain = e.plain_size;
    }
  }
  std::printf("peak working memory of one Load: %.2f MiB for an entry of %.2f MiB (limit: plain size + 1 MiB)\n",
              static_cast<double>(worst_working) / kMiB, static_cast<double>(worst_plain) / kMiB);

  libdeflate_free_decompressor(decompressor);
  ::close(fd);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);

  orva::bench::PrintRatio("archive.load_vs_libdeflate", ours_s, deflate_s, 1.15);
  orva::bench::PrintRatio("archive.load_vs_zlib", ours_s, zlib_s, 1.00);
  std::printf("RATIO archive.load_working_memory_vs_plain_plus_1mib %.2f target <=1.00 %s\n", worst_ratio,
              worst_ratio <= 1.0 ? "ok" : "over");
  return 0;
}
